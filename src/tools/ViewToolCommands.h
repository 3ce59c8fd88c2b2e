#pragma once
#include <string>
#include <vector>

namespace pixmond {

class AppSettings;
class CDatFile;
class IconSource;
class Pickers;
struct Services;

// The commands of the "&Tools" menu that work on what a browser shows: nation pictures of the SHP file on
// show, and the PNG batches over the listed entries of an archive or the listed files of a folder. Long work
// runs under a progress window that can be cancelled.
class ViewToolCommands {
public:
    ViewToolCommands(Services& services, Pickers& pickers, AppSettings& settings)
        : services_(services), pickers_(pickers), settings_(settings) {}

    // Splits the SHP reader's file into the nation pictures, in a folder the user picks. Only a file of 220 or
    // 129 icons (else a notice) whose name holds "dossier" or "flag" (else nothing) is split. Nothing happens for
    // a reader that is not an SHP file. False when nothing was written.
    bool NationPictures(IconSource* reader);

    // Every listed PNG entry of the archive (rows: entry-table indexes) decoded from the archive and written as
    // an SHP into a folder the user picks. The count of the files really written.
    int ArchivePngToShp(const CDatFile& dat, const std::vector<int>& rows, int listMode);
    // The folder browser's batches over its listed files (folder ends with a separator).
    int FolderPngToShp(const std::string& folder, const std::vector<std::string>& rows, int listMode);
    int FolderCropPng(const std::string& folder, const std::vector<std::string>& rows, int listMode);

    static constexpr int kUnitsOnlyMode = 1;  // the archive's "units only" and the folder's "SHP files only"
    static constexpr const char* kNationFolderTitle = "select folder to create Halvren nation's pics";
    static constexpr const char* kExtractFolderTitle = "Select folder to extract shp files";

private:
    Services& services_;
    Pickers& pickers_;
    AppSettings& settings_;
};

}  // namespace pixmond
