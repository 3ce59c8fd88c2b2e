#pragma once
#include <iostream>

#include "image/BuiltinTextDrawer.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleProgress.h"
#include "cli/ConsoleShell.h"
#include "ui/FileSettings.h"
#include "ui/LocalFileSystem.h"
#include "ui/Services.h"

namespace pixmond {

// The services of the command line, owned in one place.
class ConsoleServices {
public:
    ConsoleServices() : messages(std::cout, std::cerr), shell(std::cout), progress(stderr) {}
    ConsoleMessages messages;
    FileSettings settings;
    ConsoleShell shell;
    LocalFileSystem files;
    ConsoleProgressFactory progress;
    BuiltinTextDrawer text;
    Services& Get() { return services_; }

private:
    Services services_{messages, settings, shell, files, progress};
};

}  // namespace pixmond
