#include "app/ToolDialogShowcase.h"

#include <QCheckBox>
#include <QListWidget>
#include <cstdio>

#include "base/Format.h"
#include "base/PathParts.h"
#include "image/Palette.h"
#include "tools/qt/CGetData.h"
#include "tools/qt/CShpCat.h"
#include "tools/qt/CShpMaker.h"
#include "tools/qt/CShpToBmp.h"
#include "tools/qt/DlgPals.h"
#include "ui/Pickers.h"
#include "ui/Services.h"

namespace pixmond {

bool ToolDialogShowcase::Known(const std::string& name) {
    for (const char* known : {"shpmaker", "catalog", "converter", "block", "palettes"})
        if (name == known) return true;
    return false;
}

QDialog* ToolDialogShowcase::Open(const std::string& name, const std::string& folderGiven, const std::string& select) {
    const std::string folder = WithTrailingSeparator(folderGiven);
    if (name == "shpmaker") {
        auto maker = std::make_unique<CShpMaker>(context_, parent_);
        maker->ShowFolder(folder);
        // A few bitmaps on the icon list, the preview on.
        QListWidget* bitmaps = maker->BitmapList();
        for (int row = 0; row < std::min(3, bitmaps->count()); ++row)
            bitmaps->setCurrentRow(row, QItemSelectionModel::Select);
        maker->AddSelectedToIconList();
        maker->PreviewBox()->setChecked(true);
        dialog_ = std::move(maker);
    } else if (name == "catalog") {
        CatalogList list;
        list.inputName = folder;
        for (const FileEntry& entry : context_.services.files.List(folder, "*")) list.names.push_back(entry.name);
        dialog_ = std::make_unique<CShpCat>(context_, std::move(list), parent_);
    } else if (name == "converter") {
        auto converter = std::make_unique<CShpToBmp>(context_, parent_);
        converter->ChooseInputFolder(folder);
        dialog_ = std::move(converter);
    } else if (name == "block") {
        const std::string file = select.empty() ? std::string("TIGER.SHP") : select;
        shp_ = OpenIconSource(IconKind::Shp, IconBytes::OfFile(folder + file), context_.services.messages);
        if (!shp_->Readable()) {
            std::fprintf(stderr, "pixmond: %s%s is not an SHP file\n", folder.c_str(), file.c_str());
            return nullptr;
        }
        dialog_ = std::make_unique<CGetData>(
            context_, Format("Current icon is %d/%d [%s]", 1, shp_->Count(), file.c_str()), shp_.get(), 1,
            folder + PathParts::Of(file).title + "_block.bmp", parent_);
    } else if (name == "palettes") {
        PaletteComparison palettes;
        palettes.first.table = DefaultColourTable();
        palettes.first.name = PaletteComparison::kCurrentName;
        if (!select.empty()) {
            palettes.second.table = DefaultColourTable();
            if (!palettes.Load(1, folder + select, context_.services.messages)) return nullptr;
        }
        auto compare = std::make_unique<DlgPals>(context_, std::move(palettes), parent_);
        compare->SelectIndex(17);
        dialog_ = std::move(compare);
    }
    return dialog_.get();
}

}  // namespace pixmond
