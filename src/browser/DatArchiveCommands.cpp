#include "browser/DatArchiveCommands.h"

#include "archive/CDatFile.h"
#include "browser/CDatViewModel.h"
#include "browser/FilterLog.h"
#include "ui/AppSettings.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/Pickers.h"
#include "base/TextCase.h"

namespace pixmond {

DatArchiveCommands::DatArchiveCommands(CDatViewModel& view, Pickers& pickers, AppSettings& settings, Hooks hooks)
    : view_(view), pickers_(pickers), settings_(settings), hooks_(std::move(hooks)) {}

bool DatArchiveCommands::OpenArchive(const std::string& path) {
    return hooks_.openArchive ? hooks_.openArchive(path) : view_.ArchiveOpened(path);
}

void DatArchiveCommands::Open() {
    const std::string path =
        pickers_.PickFile(settings_.LastFolder() + "*.dat", "Select DAT file", kDatFilter, ".dat", true);
    if (!path.empty()) OpenArchive(path);
}

void DatArchiveCommands::Repack() {
    const std::string path =
        pickers_.PickFile(settings_.S16Folder() + "*.dat", "Select new DAT file to create", kDatFilter, ".dat", false);
    if (path.empty()) return;
    CDatFile& dat = view_.Dat();
    // The archive packs the files of its own folder.
    const bool imagesOnly = dat.GetServices().messages.Question(CDatFile::kRepackQuestion);
    dat.Log().OpenForArchive(path);
    const bool packed = dat.Repack(PathParts::Of(path).folder, path, imagesOnly);
    dat.Log().Close(packed);
    if (packed) OpenArchive(path);
}

DatArchiveCommands::Deferred DatArchiveCommands::Unpack() {
    CDatFile& dat = view_.Dat();
    if (dat.RealCount() < 1) return {};
    const std::string folder = pickers_.PickFolder(PathParts::Of(dat.Path()).folder, "Select folder");
    if (folder.empty()) return {};
    unpackFolder_ = folder;
    return [this, folder] {
        if (hooks_.redrawNow) hooks_.redrawNow();
        view_.Dat().Unpack(folder);
    };
}

void DatArchiveCommands::Extract() {
    CDatFile& dat = view_.Dat();
    if (dat.RealCount() < 1 || !view_.HasCurrentEntry() || !dat.ArchiveOpen()) return;
    const int entry = view_.CurrentEntry();
    if (view_.CurrentIsFake()) {
        dat.GetServices().messages.Notice(
            "Cannot extract from fake entry, seek real icon and extract from that entry");
        return;
    }
    const std::string name = StoredName(entry);
    const std::string target =
        pickers_.PickFile(settings_.S16Folder() + name, "Select extract file name", "", "", false);
    if (target.empty()) return;
    const std::string written = dat.Extract(entry, target);
    if (!written.empty()) dat.GetServices().messages.Notice(Format("\n%s \t saved to disk  \n", written.c_str()));
}

DatArchiveCommands::Deferred DatArchiveCommands::Replace() {
    CDatFile& dat = view_.Dat();
    if (dat.RealCount() < 1 || !view_.HasCurrentEntry()) return {};
    if (view_.CurrentIsFake()) {
        // Said before the picker, not after: there is nothing to pick for a fake entry.
        dat.GetServices().messages.Notice("Cannot replace fake entries, seek real icon and replace that entry");
        return {};
    }
    const int entry = view_.CurrentEntry();
    const std::string name = StoredName(entry);
    const std::string source =
        pickers_.PickFile(settings_.S16Folder() + name, "Select Shp replacement file", kIconFilter, "", true);
    if (source.empty()) return {};
    const PathParts chosen = PathParts::Of(source);
    settings_.SetS16Folder(chosen.folder);
    if (!EqualIgnoringCase(chosen.title, dat.Item(entry).Title())) {
        dat.GetServices().messages.Error(
            "\n   You must pick a same name Shp file for replacement !   \nUse Add option instead");
        return {};
    }
    return [this, entry, source] {
        if (hooks_.redrawNow) hooks_.redrawNow();
        const int row = view_.ListSelection();
        view_.Dat().Replace(entry, source);
        view_.RebuildList(row);
    };
}

void DatArchiveCommands::Remove() {
    CDatFile& dat = view_.Dat();
    if (!view_.HasCurrentEntry()) return;
    if (view_.CurrentIsFake()) {
        dat.GetServices().messages.Notice("Cannot remove entries for fake icons");
        return;
    }
    if (dat.RealCount() < 1) return;
    const int entry = view_.CurrentEntry();
    const std::string name(dat.Item(entry).Name());
    if (!dat.GetServices().messages.Question(Format(" Do you really want to remove %s ? ", name.c_str()))) return;
    const int row = view_.ListSelection();
    dat.Remove(entry);
    view_.RebuildList(row);
}

DatArchiveCommands::Deferred DatArchiveCommands::Add() {
    CDatFile& dat = view_.Dat();
    if (dat.Total() < 1 || !dat.ArchiveOpen()) return {};
    std::vector<std::string> files =
        pickers_.PickFiles(settings_.S16Folder(), "Select SHP/S16/PNG file/s to add", kIconFilter);
    if (files.empty()) return {};
    return [this, files = std::move(files)] {
        if (hooks_.redrawNow) hooks_.redrawNow();
        const int row = view_.ListSelection();
        if (view_.Dat().AddFiles(files) < 0) return;
        settings_.SetS16Folder(PathParts::Of(files.back()).folder);
        view_.RebuildList(row);
    };
}

std::string DatArchiveCommands::StoredName(int entry) const {
    // Files are proposed under the name the archive stores, in its own letter case.
    const auto names = view_.Dat().StoredNames();
    return entry >= 0 && size_t(entry) < names.size() ? names[size_t(entry)] : std::string();
}

std::string DatArchiveCommands::TableFolder() const {
    // Before any unpack the lists are looked for beside the open archive.
    return unpackFolder_.empty() ? PathParts::Of(view_.Dat().Path()).folder : unpackFolder_;
}

std::string DatArchiveCommands::PickTable() {
    return pickers_.PickFile(TableFolder() + "export_icons.tbl", "Select list of icons to copy", "Table Files |*.tbl|",
                             ".tbl", true);
}

void DatArchiveCommands::CopyListed() {
    CDatFile& dat = view_.Dat();
    if (!dat.ArchiveOpen()) return;
    const std::string table = PickTable();
    if (table.empty()) return;
    // The destination may not exist yet: it is created then.
    const std::string dest =
        pickers_.PickFile(TableFolder() + "DestDat.dat", "Select datfile to update/create", kDatFilter, ".dat", false);
    if (dest.empty()) return;
    if (dat.CopyListed(table, dest)) OpenArchive(dest);
}

void DatArchiveCommands::ExtractListed() {
    CDatFile& dat = view_.Dat();
    if (!dat.ArchiveOpen()) return;
    const std::string table = PickTable();
    if (table.empty()) return;
    // Before any folder was remembered the picker starts beside the archive.
    const std::string remembered = settings_.S16Folder();
    const std::string start = remembered.empty() ? PathParts::Of(dat.Path()).folder : remembered;
    const std::string folder = pickers_.PickFolder(start, "Select folder to extract icons");
    if (folder.empty()) return;
    dat.ExtractListed(table, folder);
}

void DatArchiveCommands::LogFilter() {
    CDatFile& dat = view_.Dat();
    Services& services = dat.GetServices();
    if (!FilterLog::HasRows(view_.List(), services.messages)) return;
    const std::string path = pickers_.PickFile(FilterLog::ProposedPath(dat.Path(), services.files).string(),
                                               "Select log file", "Text files |*.txt", ".txt", false);
    if (path.empty()) return;
    const bool withInfo = services.messages.Question(FilterLog::kQuestion);
    FilterLog::Write(view_.List(), dat.Items(), path, withInfo, services);
}

}  // namespace pixmond
