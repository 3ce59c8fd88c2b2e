#pragma once
#include <CLI/CLI.hpp>

#include <filesystem>
#include <functional>
#include <string>
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

// Writes text to stdout exactly (JSON and tables).
void Print(const std::string& text);
// A JSON string literal of single-byte text (Windows-1252 shown as UTF-8).
std::string JsonString(const std::string& text);

}  // namespace pixmond::cli
