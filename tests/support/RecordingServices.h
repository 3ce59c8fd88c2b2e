#pragma once
#include "image/BuiltinTextDrawer.h"
#include "ui/LocalFileSystem.h"
#include "ui/MemorySettings.h"
#include "support/RecordingMessages.h"
#include "support/RecordingProgress.h"
#include "support/RecordingShell.h"
#include "ui/Services.h"

namespace pixmond {

// The services of the tests: every message recorded, settings in memory, the real disk.
class RecordingServices {
public:
    RecordingMessages messages;
    MemorySettings settings;
    RecordingShell shell;
    LocalFileSystem files;
    RecordingProgressFactory progress;
    BuiltinTextDrawer text;
    Services& Get() { return services_; }
    operator Services&() { return services_; }

private:
    Services services_{messages, settings, shell, files, progress};
};

}  // namespace pixmond
