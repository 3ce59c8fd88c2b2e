#include "browser/DatSaveCommands.h"

#include "archive/CDatFile.h"
#include "base/Format.h"
#include "browser/CDatViewModel.h"
#include "image/IconSource.h"
#include "tools/ProposedNames.h"
#include "ui/AppSettings.h"

namespace pixmond {

DatSaveCommands::DatSaveCommands(CDatViewModel& view, Pickers& pickers, AppSettings& settings,
                                 IconSaveCommands::BlockDialog block)
    : view_(view), settings_(settings), save_(pickers, settings, view.Dat().GetServices()), block_(std::move(block)) {}

IconSource* DatSaveCommands::Source() const {
    if (view_.Dat().Total() < 1 || !view_.HasCurrentEntry()) return nullptr;
    return view_.Dat().CurrentSource();
}

std::string DatSaveCommands::EntryName() const { return std::string(view_.Dat().Item(view_.CurrentEntry()).Name()); }

void DatSaveCommands::SaveIconOrCollage() {
    IconSource* source = Source();
    if (!source) return;
    save_.SaveIconOrCollage(*source, EntryName(), view_.Position(), view_.CollageChecked(), view_.DrawArea());
}

void DatSaveCommands::SaveEachIcon() {
    if (IconSource* source = Source()) save_.SaveEachIcon(*source, EntryName());
}

std::string DatSaveCommands::BlockPrompt() const {
    const IconSource* source = Source();
    if (!source || source->Kind() != IconKind::Shp) return {};
    return Format("Current icon is %d/%d [%s]", view_.Position(), source->Count(), EntryName().c_str());
}

void DatSaveCommands::SaveBlock() {
    IconSource* source = Source();
    if (!source || source->IsPicture() || !block_) return;
    block_(BlockPrompt(), *source, view_.Position(),
           ProposeName(ProposedName::ArchiveBlock, settings_.BmpFolder(), EntryName()));
}

}  // namespace pixmond
