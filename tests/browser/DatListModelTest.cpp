#include <gtest/gtest.h>

#include "browser/DatListModel.h"
#include "browser/FilterCondition.h"

namespace pixmond {
namespace {

TDatItem Real(const char* name, int icons) {
    TDatItem item{};
    item.SetName(name);
    item.icons = icons;
    item.type = std::uint8_t(IconKindOfEntryName(name));
    item.loadable = item.Kind() != IconKind::Other;
    return item;
}

TDatItem Fake(const char* name, const char* real, int icons = 9) {
    TDatItem item = Real(name, icons);
    item.fake = 1;
    item.SetRealName(real);
    return item;
}

// Entries as the loader leaves them: sorted by name, fakes among them.
std::vector<TDatItem> Table() {
    return {Real("ARMY.S16", 40),     Real("HEAVY.SHP", 9), Real("LIGHT.SHP", 9), Real("PZ4F.SHP", 9),
            Fake("PZ4F2.SHP", "PZ4F"),      Real("SPZ.PNG", 9),   Real("TIGER.SHP", 9), Real("TXT.DAT", 0)};
}

std::vector<std::string> Listed(DatListModel& model, const std::vector<TDatItem>& table) {
    std::vector<std::string> names;
    for (int i : model.Rebuild(table)) names.emplace_back(table[i].Name());
    return names;
}

using Names = std::vector<std::string>;

TEST(FilterConditionLanguage, SplitsAndJudges) {
    EXPECT_EQ(FilterCondition::Split("tank$!light"), (Names{"tank", "!light"}));
    EXPECT_EQ(FilterCondition::Split("$$a &$ b&"), (Names{"a ", " b"}));
    EXPECT_TRUE(FilterCondition::Split("$&").empty());
    EXPECT_TRUE(FilterCondition::Holds("{}", "  "));
    EXPECT_FALSE(FilterCondition::Holds("{}", "x"));
    EXPECT_TRUE(FilterCondition::Holds(" ~ ", "x"));
    EXPECT_TRUE(FilterCondition::Holds("!", "x"));
    EXPECT_FALSE(FilterCondition::Holds("!", ""));
    EXPECT_TRUE(FilterCondition::Holds(" Tank", "heavy TANK "));
    EXPECT_FALSE(FilterCondition::Holds("!tank", "Heavy tank"));
    EXPECT_TRUE(FilterCondition::Holds("!light", "Heavy tank"));
    EXPECT_FALSE(FilterCondition::Holds("t*k", "tank"));  // no wildcards
}

TEST(DatListModelModes, ModesAndTheFakeRule) {
    const auto table = Table();
    DatListModel model;
    EXPECT_EQ(Listed(model, table),
              (Names{"ARMY.S16", "HEAVY.SHP", "LIGHT.SHP", "PZ4F.SHP", "SPZ.PNG", "TIGER.SHP", "TXT.DAT"}));
    EXPECT_EQ(model.IconsLabel(7, 1, 8), "7 / 7 ");
    model.filters.fakesTogether = true;
    EXPECT_EQ(Listed(model, table).size(), 8u);
    EXPECT_EQ(model.IconsLabel(7, 1, 8), "8 / 8 ");
    model.filters.listMode = 1;
    EXPECT_EQ(Listed(model, table), (Names{"HEAVY.SHP", "LIGHT.SHP", "PZ4F.SHP", "PZ4F2.SHP", "SPZ.PNG", "TIGER.SHP"}));
    model.filters.fakesTogether = false;
    model.filters.listMode = 2;
    EXPECT_EQ(Listed(model, table), (Names{"ARMY.S16", "TXT.DAT"}));
    model.filters.listMode = 3;
    EXPECT_EQ(Listed(model, table).size(), 4u);
    model.filters.listMode = 4;
    EXPECT_EQ(Listed(model, table), (Names{"ARMY.S16"}));
    model.filters.listMode = 5;
    EXPECT_EQ(Listed(model, table), (Names{"SPZ.PNG"}));
    model.filters.listMode = 6;
    EXPECT_EQ(Listed(model, table), (Names{"PZ4F2.SHP"}));
    EXPECT_EQ(model.IconsLabel(7, 40, 47), "1 / 40 ");
}

TEST(DatListModelModes, NameFilterAnchorsWithCaret) {
    const auto table = Table();
    DatListModel model;
    model.filters.name = " pz ";
    EXPECT_EQ(Listed(model, table), (Names{"PZ4F.SHP", "SPZ.PNG"}));
    model.filters.name = "^pZ";
    EXPECT_EQ(Listed(model, table), (Names{"PZ4F.SHP"}));
    model.filters.fakesTogether = true;
    EXPECT_EQ(Listed(model, table), (Names{"PZ4F.SHP", "PZ4F2.SHP"}));
}

TEST(DatListModelModes, RowTextsAndSelection) {
    EXPECT_EQ(DatListModel::RowText(Real("TIGER.SHP", 12)), "TIGER.SHP  (12)");
    EXPECT_EQ(DatListModel::RowText(Fake("PZ4F2.SHP", "PZ4F")), "PZ4F2.SHP -> PZ4F");
    DatListModel model;
    EXPECT_EQ(model.ClampSelection(5), -1);
    const auto table = Table();
    model.Rebuild(table);
    EXPECT_EQ(model.ClampSelection(99), 6);
    EXPECT_EQ(model.ClampSelection(-3), 0);
    EXPECT_EQ(model.ClampSelection(2), 2);
}

class DatListDescriptions : public ::testing::Test {
protected:
    void SetUp() override {
        model.descriptions.ReadText(
            "HEAVY;Heavy tank;grey;tank;Germany;tracked;\n"
            "LIGHT;Light tank;green;tank;USSR;tracked;\n"
            "PZ4F;Medium tank;grey;;Germany;;\n"
            "ARMY;;;interface\n"
            "SPZ;  ;red\n",
            true);
    }
    Names Desc(const std::string& filter) {
        model.filters.descriptive[kDesc] = filter;
        return Listed(model, table);
    }
    std::vector<TDatItem> table = Table();
    DatListModel model;
};

TEST_F(DatListDescriptions, ConditionsOfOneField) {
    EXPECT_EQ(Desc("tank$!light"), (Names{"HEAVY.SHP", "PZ4F.SHP"}));
    EXPECT_EQ(Desc("TANK&heavy"), (Names{"HEAVY.SHP"}));
    // Empty fields and icons without a line.
    EXPECT_EQ(Desc("{}"), (Names{"ARMY.S16", "SPZ.PNG", "TIGER.SHP", "TXT.DAT"}));
    EXPECT_EQ(Desc("~"), (Names{"HEAVY.SHP", "LIGHT.SHP", "PZ4F.SHP"}));
    EXPECT_EQ(Desc("!"), Desc("~"));
    EXPECT_TRUE(Desc("{}$tank").empty());
    // A "not like" condition still needs a value.
    EXPECT_EQ(Desc("!light"), (Names{"HEAVY.SHP", "PZ4F.SHP"}));
}

TEST_F(DatListDescriptions, FieldsJoinByAndAndFakesBorrowTheirRealIconsLine) {
    model.filters.fakesTogether = true;
    model.filters.descriptive[kColor] = "grey";
    EXPECT_EQ(Listed(model, table), (Names{"HEAVY.SHP", "PZ4F.SHP", "PZ4F2.SHP"}));
    model.filters.descriptive[kCountry] = "germany";
    model.filters.descriptive[kChassis] = "tracked";
    EXPECT_EQ(Listed(model, table), (Names{"HEAVY.SHP"}));
    model.filters.descriptive[kChassis] = "{}";
    EXPECT_EQ(Listed(model, table), (Names{"PZ4F.SHP", "PZ4F2.SHP"}));
    ASSERT_NE(model.RecordOf(table[4]), nullptr);
    EXPECT_EQ(model.RecordOf(table[4])->field[kDesc], "Medium tank");
}

TEST_F(DatListDescriptions, TextFileUsesOnlyTheDescFilter) {
    model.descriptions.SetCsv(false);
    model.filters.descriptive[kColor] = "no such colour";
    EXPECT_EQ(Listed(model, table).size(), 7u);
    EXPECT_EQ(Desc("tank&grey").size(), 0u);
    EXPECT_EQ(Desc("heavy"), (Names{"HEAVY.SHP"}));
}

TEST_F(DatListDescriptions, ClearingFiltersListsEverythingAgain) {
    model.filters.name = "x";
    model.filters.descriptive[kStyle] = "y";
    model.ClearFilters();
    EXPECT_EQ(Listed(model, table).size(), 7u);
}

}  // namespace
}  // namespace pixmond
