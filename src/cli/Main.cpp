#include <algorithm>
#include <iostream>

#include "cli/CliRegistry.h"
#include "base/TextCase.h"

namespace pixmond::cli {

std::vector<CommandBuilder>& CommandBuilders() {
    static std::vector<CommandBuilder> builders;
    return builders;
}

std::vector<SampleStepEntry>& SampleSteps() {
    static std::vector<SampleStepEntry> steps;
    return steps;
}

void Print(const std::string& text) { std::cout << text << std::flush; }

Json JsonText(std::string_view text) { return Latin1ToUtf8(text); }

void PrintJson(const Json& json) { Print(json.dump() + "\n"); }

namespace {

void AddSampleCommand(CLI::App& app, CliContext& context) {
    auto* cmd = app.add_subcommand("sample", "Write a demo folder of icon files and a demo archive");
    static std::string folder;
    cmd->add_option("DIR", folder, "Folder to write into (created when missing)")->required();
    cmd->callback([&context] {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        auto steps = SampleSteps();
        std::stable_sort(steps.begin(), steps.end(), [](auto& a, auto& b) { return a.rank < b.rank; });
        for (auto& step : steps) {
            if (!step.step(folder, context)) {
                std::cerr << "sample: " << step.name << " failed\n";
                context.exitCode = 1;
                return;
            }
        }
        context.services.messages.Notice("Sample written to " + folder);
    });
}

}  // namespace
}  // namespace pixmond::cli

int main(int argc, char** argv) {
    using namespace pixmond::cli;
    pixmond::ConsoleServices services;
    CliContext context{services};
    CLI::App app{"pixmond-cli: browse, convert and rebuild Orvel icon archives and files"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("pixmond-cli " PIXMOND_VERSION));
    AddSampleCommand(app, context);
    for (auto& build : CommandBuilders()) build(app, context);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    services.settings.Flush();
    return context.exitCode;
}
