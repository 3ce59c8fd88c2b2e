#include "support/DatSample.h"

#include "support/ArchiveBuilder.h"
#include "support/TestFiles.h"
#include "support/UnitFiles.h"

namespace pixmond::test {

std::filesystem::path WriteDatSample(const std::filesystem::path& folder) {
    const std::array<Rgb, 9> colours = {MakeRgb(200, 0, 0),   MakeRgb(0, 200, 0),   MakeRgb(0, 0, 200),
                                        MakeRgb(200, 200, 0), MakeRgb(0, 200, 200), MakeRgb(200, 0, 200),
                                        MakeRgb(90, 90, 90),  MakeRgb(250, 120, 0), MakeRgb(0, 0, 0)};
    const std::filesystem::path archive = folder / "demo.dat";
    ArchiveBuilder()
        .Add("TIGER.SHP", UnitShp(200, 160, 12, 20))
        .Add("ARMOUR.SHP", UnitShp(40, 30, 30))
        .Add("PANEL.SHP", UnitShp(20, 10, 50, 3))
        .Add("PLANE.S16", UnitS16(30, 20, MakeRgb(0, 128, 255)))
        .Add("TANKS.PNG", SheetPng(240, 150, colours))
        .Add("K\xF6NIG.SHP", UnitShp(10, 10, 7))
        .Add("readme.txt", std::string("Demo archive.\r\n"))
        .Write(archive);
    WriteText(folder / "demo.keep", "TIGERX1;TIGER\r\nPANELX2;PANEL\r\n");
    WriteText(folder / "demo.csv",
              "# ICON;Desc.;Color;Type;Country;Chassis;Style/Family\r\n"
              "TIGER.SHP;Heavy tank;grey;tank;Germany;tracked;Tiger\r\n"
              "ARMOUR.SHP;Armoured cars;sand;car;Britain;wheeled;Humber\r\n"
              "PANEL.SHP;Command panels;blue;interface;;;\r\n"
              "PLANE.S16;Medium tank;green;tank;USSR;tracked;T-34\r\n");
    return archive;
}

}  // namespace pixmond::test
