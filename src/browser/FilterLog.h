#pragma once
#include <filesystem>
#include <span>
#include <string>

#include "archive/TDatItem.h"
#include "browser/DatListModel.h"
#include "ui/Services.h"

namespace pixmond {

// "Log Filter": the rows of the archive browser, with the filters that chose them, written to a text file.
class FilterLog {
public:
    // The OPENLOG folder beside the archive when it exists, else the one beside the archive's folder.
    static std::filesystem::path ProposedPath(const std::filesystem::path& archive, const FileSystem& files);

    // There are rows to log; a notice says so when there are none.
    static bool HasRows(const DatListModel& model, Messages& messages);
    // Writes the model's rows to path, with each row's description when withInfo, and shows the file. False when
    // nothing was written.
    static bool Write(const DatListModel& model, std::span<const TDatItem> entries, const std::filesystem::path& path,
                      bool withInfo, Services& services);

    // The text of the file; withInfo adds each row's description.
    static std::string Text(const DatListModel& model, std::span<const TDatItem> entries, bool withInfo);
    // The lines above the question: the count and the filters in use.
    static std::string Heading(const DatListModel& model);
    static std::string Rows(const DatListModel& model, std::span<const TDatItem> entries, bool withInfo);

    // The question whose answer is withInfo.
    static constexpr const char* kQuestion =
        "\n   Do you want to include also descrition info ?   \n      (otherwise will include only iconID)         \n";
};

}  // namespace pixmond
