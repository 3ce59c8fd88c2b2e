#include "folderview/ShpViewCommands.h"

#include "base/DisplayText.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "folderview/CShpViewModel.h"
#include "folderview/FolderImages.h"
#include "image/CShpEditor.h"
#include "image/CShpFile.h"
#include "image/IconSource.h"
#include "tools/ProposedNames.h"
#include "ui/AppSettings.h"
#include "ui/Pickers.h"
#include "ui/Services.h"

namespace pixmond {

ShpViewCommands::ShpViewCommands(CShpViewModel& view, FolderImages& images, Pickers& pickers, AppSettings& settings,
                                 Services& services, IconSaveCommands::BlockDialog block)
    : view_(view),
      images_(images),
      pickers_(pickers),
      settings_(settings),
      services_(services),
      save_(pickers, settings, services),
      block_(std::move(block)) {}

IconSource* ShpViewCommands::Source() const {
    const IconKind kind = view_.Kind();
    if (view_.Files().empty() || (kind != IconKind::Shp && kind != IconKind::S16) || view_.IconRows().empty())
        return nullptr;
    return images_.EditableSource();
}

bool ShpViewCommands::SaveEnabled() const { return Source() != nullptr; }

void ShpViewCommands::SaveIconOrCollage(const Rect& pictureArea) {
    if (IconSource* source = Source())
        save_.SaveIconOrCollage(*source, view_.CurrentPath(), view_.CurrentIcon(), view_.CollageChecked(),
                                pictureArea);
}

void ShpViewCommands::SaveEachIcon() {
    IconSource* source = Source();
    if (!source) return;
    save_.SaveEachIcon(*source, view_.CurrentPath());
    // The saving visited every icon; the one selected is made current again.
    view_.SelectIcon(view_.IconRow());
}

std::string ShpViewCommands::BlockPrompt() const {
    const IconSource* source = Source();
    return Format("Current icon is %d/%d [%s]", view_.CurrentIcon(), source ? source->Count() : 0,
                  PathParts::Of(view_.CurrentPath()).name.c_str());
}

void ShpViewCommands::SaveBlock() {
    IconSource* source = Source();
    if (!source || !block_) return;
    block_(BlockPrompt(), *source, view_.CurrentIcon(),
           ProposeName(ProposedName::FolderBlock, settings_.BmpFolder(), view_.CurrentPath(), 0,
                       settings_.OutputImage()));
}

bool ShpViewCommands::IsShpOnShow() const { return !view_.Files().empty() && view_.Kind() == IconKind::Shp; }

void ShpViewCommands::InsertBmp() {
    if (!IsShpOnShow() || view_.IconRow() < 0) return;
    // The new icon takes the selected icon's number, which moves one place down; the new one is selected.
    Insert(view_.CurrentIcon(), view_.CurrentIcon());
}

void ShpViewCommands::AppendBmp() {
    if (IsShpOnShow()) Insert(0, 0);
}

void ShpViewCommands::Insert(int position, int select) {
    const std::string bmp = pickers_.PickFile(settings_.BmpFolder() + "*.bmp", "Select BMP file", kBmpFilter, ".bmp",
                                              true);
    if (bmp.empty()) return;
    settings_.SetBmpFolder(PathParts::Of(bmp).folder);
    CShpFile shp;
    if (!shp.OpenFile(view_.CurrentPath(), 1)) {
        services_.messages.Error(Format("Cannot open %s", DisplayText(view_.CurrentPath()).c_str()));
        return;
    }
    if (!CShpEditor(services_).InsertBmp(shp, bmp, position)) return;
    view_.FileRewritten(select);
}

void ShpViewCommands::RemoveIcon() {
    if (!IsShpOnShow() || view_.IconRow() < 0) return;
    const int icon = view_.CurrentIcon();
    const std::string name = PathParts::Of(view_.CurrentPath()).name;
    if (!services_.messages.Question(
            Format(" Do you really want to remove icon #%d of %s ? ", icon, DisplayText(name).c_str())))
        return;
    CShpFile shp;
    if (!shp.OpenFile(view_.CurrentPath(), 1)) {
        services_.messages.Error(Format("Cannot open %s", DisplayText(view_.CurrentPath()).c_str()));
        return;
    }
    if (!CShpEditor(services_).RemoveIcon(shp, icon)) return;
    // The icon that followed takes the removed one's number; after the last, the first is selected.
    view_.FileRewritten(icon);
}

}  // namespace pixmond
