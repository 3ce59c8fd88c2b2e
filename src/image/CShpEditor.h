#pragma once
#include <string>

namespace pixmond {

class CShpFile;
struct Services;

// Changes an SHP file of its own icon by icon. Every change writes the complete new file beside the old one
// ("%s_new.shp"), then keeps the old one as "%s.back" and gives the new one its name; the original is left
// untouched by any failure before that swap. After a change the reader's file is closed: reopen the path.
class CShpEditor {
public:
    explicit CShpEditor(Services& services) : services_(services) {}

    // Removes icon n (1-based).
    bool RemoveIcon(CShpFile& shp, int n);
    // Encodes the bitmap as an icon and inserts it as icon number position (1-based); 0 or below appends it.
    // A position past count + 1 is refused.
    bool InsertBmp(CShpFile& shp, const std::string& bmpPath, int position);
    // Saves the icon ranges of a nation-pictures file (220 or 129 icons) as block pictures in folder.
    bool SaveNationPictures(CShpFile& shp, const std::string& folder);
    // The split is offered for a file of 220 or 129 icons whose title holds "dossier" or "flag".
    static bool IsNationPicturesCount(int icons) { return icons == 220 || icons == 129; }
    static bool IsNationPicturesName(const std::string& path);

    // "D:\icons\tank.shp" gives "D:\icons\tank_new.shp" and "D:\icons\tank.back".
    static std::string NewPath(const std::string& shpPath);
    static std::string BackupPath(const std::string& shpPath);

private:
    bool SwapIn(const std::string& shpPath);
    Services& services_;
};

}  // namespace pixmond
