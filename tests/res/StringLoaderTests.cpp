#include "res/resource.h"
#include "res/StringLoader.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A string table of our own, to check the expansion rules apart from the shipped texts.
struct CTable {
    std::map<UINT, std::wstring> entries;
    int loads = 0;

    std::wstring operator()(UINT id) {
        ++loads;
        const auto it = entries.find(id);
        return it == entries.end() ? std::wstring() : it->second;
    }
    std::wstring Expand(UINT id) {
        return ExpandString(id, [this](UINT i) { return (*this)(i); });
    }
};

} // namespace

TEST(StringLoader, ShippedTableExpandsItsPlaceholders) {
    EXPECT_EQ(L"Tollgate", LoadExpandedString(IDS_MAIN_CAPTION));
    EXPECT_EQ(L"Tollgate", LoadExpandedString(IDS_APPNAME));
    EXPECT_EQ(L"Software\\Tollgate", LoadExpandedString(IDS_REGKEY));
    EXPECT_EQ(L"Software\\Tollgate\\Allowed", LoadExpandedString(IDS_ALLOWED_KEY));
    const std::wstring site = LoadExpandedString(IDS_WEBSITE);
    ASSERT_FALSE(site.empty());
    EXPECT_NE(L'/', site.back());
    EXPECT_EQ(site + L"/help.html", LoadExpandedString(IDS_HELP_PAGE));
    EXPECT_EQ(site + L"/cookienews.html", LoadExpandedString(IDS_NEWS_PAGE));
    EXPECT_EQ(site + L"/gettingstarted.html", LoadExpandedString(IDS_GETTING_STARTED_PAGE));
    EXPECT_EQ(L"", LoadExpandedString(172)) << "no such entry";
    EXPECT_EQ(L"Unhandled Exception:\n\n%s", LoadPlainString(IDS_UNHANDLED_EXCEPTION));
}

TEST(StringLoader, EveryOccurrenceIsReplacedButOnlyInTheExactSpelling) {
    CTable table{
        {{132, L"Tollgate"}, {500, L"<APPNAME> and <APPNAME>, not <appname> or <AppName>"}}};
    EXPECT_EQ(L"Tollgate and Tollgate, not <appname> or <AppName>", table.Expand(500));
}

TEST(StringLoader, InsertedTextIsNotSearchedAgainForItsOwnPlaceholder) {
    CTable table{{{132, L"<APPNAME>!"}, {500, L"<APPNAME><APPNAME>"}}};
    EXPECT_EQ(L"<APPNAME>!<APPNAME>!", table.Expand(500));
}

TEST(StringLoader, LaterStepsExpandWhatEarlierStepsBroughtIn) {
    CTable table{{{132, L"Gate"},
                  {163, L"Soft\\<APPNAME>"},
                  {169, L"http://<APPNAME>.example/<REGKEY>"},
                  {500, L"<WEBSITE>|<REGKEY>"}}};
    EXPECT_EQ(L"http://Gate.example/Soft\\Gate|Soft\\Gate", table.Expand(500));
}

TEST(StringLoader, TheWebsiteAndKeyEntriesExpandOnlyWhatKeepsTheRecursionFinite) {
    CTable table{{{132, L"Gate"},
                  {163, L"<WEBSITE>|<REGKEY>|<APPNAME>"},
                  {169, L"<WEBSITE>|<REGKEY>|<APPNAME>"}}};
    EXPECT_EQ(L"<WEBSITE>|<REGKEY>|Gate", table.Expand(163));
    EXPECT_EQ(L"<WEBSITE>|<WEBSITE>|<REGKEY>|Gate|Gate", table.Expand(169));

    CTable selfish{{{132, L"<WEBSITE><REGKEY><APPNAME>"}, {163, L"k"}, {169, L"w"}}};
    EXPECT_EQ(L"<WEBSITE><REGKEY><APPNAME>", selfish.Expand(132)) << "132 expands nothing";
}

TEST(StringLoader, MissingEntriesGiveEmptyTexts) {
    CTable table{{{500, L"[<WEBSITE>][<REGKEY>][<APPNAME>]"}}};
    EXPECT_EQ(L"[][][]", table.Expand(500));
    EXPECT_EQ(L"", table.Expand(501));
}

TEST(StringLoader, LoadsOnlyTheValuesATextNamesAndCachesNothing) {
    CTable table{{{132, L"A"}, {500, L"x"}, {501, L"<APPNAME>"}}};
    table.Expand(500);
    EXPECT_EQ(1, table.loads) << "a text without placeholders loads nothing more";
    EXPECT_EQ(L"A", table.Expand(501));
    EXPECT_EQ(3, table.loads);
    table.entries[132] = L"B";
    EXPECT_EQ(L"B", table.Expand(501));
}

TEST(FormatString, UsesWideStringsForPercentSAndGrowsForLongTexts) {
    EXPECT_EQ(L"Failed displaying page 'x':  why",
              FormatString(L"Failed displaying page '%s':  %s", L"x", L"why"));
    EXPECT_EQ(L"15 minutes", FormatString(LoadExpandedString(IDS_FILTER_MINUTES).c_str(), 15u));
    const std::wstring longText(5000, L'z');
    EXPECT_EQ(L"<" + longText + L">", FormatString(L"<%s>", longText.c_str()));
}
