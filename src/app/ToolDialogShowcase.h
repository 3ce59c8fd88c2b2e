#pragma once
#include <QDialog>
#include <memory>
#include <string>

#include "image/IconSource.h"
#include "ui/qt/CFrameView.h"

namespace pixmond {

// A tool dialog opened on the files of a folder as a user would have it in front of them, for pictures of the
// dialogs (`pixmond --dialog NAME --screenshot OUT.png`). Nothing it shows is remembered in the settings.
class ToolDialogShowcase {
public:
    // "shpmaker", "catalog", "converter", "block", "palettes".
    static bool Known(const std::string& name);

    ToolDialogShowcase(ViewContext& context, QWidget* parent) : context_(context), parent_(parent) {}
    // The dialog of that name over the folder; select names the SHP file of the block dialog or the palette file
    // compared with the default one. Null (with a message on stderr) when it cannot be opened.
    QDialog* Open(const std::string& name, const std::string& folder, const std::string& select);

private:
    ViewContext& context_;
    QWidget* parent_;
    std::unique_ptr<IconSource> shp_;
    std::unique_ptr<QDialog> dialog_;
};

}  // namespace pixmond
