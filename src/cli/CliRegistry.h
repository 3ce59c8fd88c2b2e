#pragma once
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ConsoleServices.h"

namespace pixmond::cli {

// What every command receives: the console services and the exit code to set (0 ok, 1 failure).
struct CliContext {
    ConsoleServices& services;
    int exitCode = 0;
};

// Each command file registers its subcommands with a static CommandRegistration; main builds them all.
using CommandBuilder = std::function<void(CLI::App& app, CliContext& context)>;
std::vector<CommandBuilder>& CommandBuilders();

struct CommandRegistration {
    explicit CommandRegistration(CommandBuilder builder) { CommandBuilders().push_back(std::move(builder)); }
};

// `pixmond-cli sample DIR` is built of steps that each area of the program adds, run in order of rank:
// 100 loose SHP files, 200 S16 and PNG files, 300 the demo archive, 400 description files, ...
using SampleStep = std::function<bool(const std::filesystem::path& folder, CliContext& context)>;
struct SampleStepEntry {
    int rank;
    std::string name;
    SampleStep step;
};
std::vector<SampleStepEntry>& SampleSteps();

struct SampleRegistration {
    SampleRegistration(int rank, std::string name, SampleStep step) {
        SampleSteps().push_back({rank, std::move(name), std::move(step)});
    }
};

// Writes text to stdout exactly (tables).
void Print(const std::string& text);

// The --json answers: keys in the order they are set, printed compact on one line.
using Json = nlohmann::ordered_json;
// Single-byte text (names and paths as stored, Windows-1252) as a JSON string, shown as UTF-8.
Json JsonText(std::string_view text);
void PrintJson(const Json& json);

}  // namespace pixmond::cli
