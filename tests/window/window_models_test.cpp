// The decisions of the window mode, without a display: the main window's tabs, compute and
// quit actions, the progress arithmetic, the configured texts, dialog units and the help file.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.hpp"
#include "platform/profile.hpp"
#include "support/test_support.hpp"
#include "ui/model/configured_texts.hpp"
#include "ui/model/dialog_units.hpp"
#include "ui/model/help_file.hpp"
#include "ui/model/main_dialog_model.hpp"
#include "ui/model/progress_model.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

const std::string kStandardSection = "[Standard]\nMode=1\nNom du point=A\n";
const std::string kGridSection = "[Grille]\nMode=0\nNom du point=B\n";
const std::string kRefusal =
    "\n\nDésolé, mais ce n'est pas ici que l'on calcule.\nRéessayez, mais dans les pages standard ou grille,pas "
    "dans la page de présentation !!!\n\n";

TEST(MainDialogModel, TabsFollowTheSectionsPresent) {
    const struct {
        const char* name;
        std::string ini;
        std::vector<Page> pages;
        std::vector<std::string> labels;
    } cases[] = {
        {"neither", "[INFORMATIONS]\nTitre=T\n", {Page::Presentation}, {"&A propos de Zelvo"}},
        {"standard only", kStandardSection, {Page::Presentation, Page::Standard},
         {"&A propos de Zelvo", "Transformation standard"}},
        {"grid only", kGridSection, {Page::Presentation, Page::Grid}, {"&A propos de Zelvo", "Transformation grille"}},
        {"both, grid first in the file", kGridSection + kStandardSection,
         {Page::Presentation, Page::Standard, Page::Grid},
         {"&A propos de Zelvo", "Transformation standard", "Transformation grille"}},
        {"an empty section counts as absent", "[Standard]\n" + kGridSection, {Page::Presentation, Page::Grid},
         {"&A propos de Zelvo", "Transformation grille"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        writeFile(dir.file("z.ini"), c.ini);
        MainDialogModel model{ProfileFile(dir.file("z.ini"))};
        std::vector<Page> pages;
        std::vector<std::string> labels;
        for (const Tab& tab : model.tabs()) {
            pages.push_back(tab.page);
            labels.push_back(tab.label);
        }
        EXPECT_EQ(pages, c.pages);
        EXPECT_EQ(labels, c.labels);
        for (Page page : {Page::Standard, Page::Grid})
            EXPECT_EQ(model.pageExists(page), std::count(pages.begin(), pages.end(), page) == 1);
        // Each tab: what it shows, whether it computes, and what computing there does.
        for (int index = 0; index < static_cast<int>(pages.size()); ++index) {
            model.selectTab(index);
            EXPECT_EQ(model.visiblePage(), pages[static_cast<std::size_t>(index)]);
            EXPECT_EQ(model.computeEnabled(), index != 0);
            const auto action = model.compute();
            if (index == 0) {
                EXPECT_FALSE(action.page);
                EXPECT_EQ(action.refusal, kRefusal);
            } else {
                EXPECT_EQ(action.page, pages[static_cast<std::size_t>(index)]);
                EXPECT_EQ(action.refusal, "");
            }
        }
        // A selection beyond the tabs changes nothing.
        model.selectTab(static_cast<int>(pages.size()));
        model.selectTab(-1);
        EXPECT_EQ(model.selectedTab(), static_cast<int>(pages.size()) - 1);
    }
}

TEST(MainDialogModel, QuitSavesEveryExistingPageAndOnlyThose) {
    TempDir dir;
    writeFile(dir.file("z.ini"), "[INFORMATIONS]\nTitre=T\n" + kGridSection);
    MainDialogModel model{ProfileFile(dir.file("z.ini"))};
    EXPECT_EQ(model.settings(Page::Grid).pointName, "B");
    model.settings(Page::Grid).pointName = "Borne é";
    model.settings(Page::Grid).mode = 1;
    EXPECT_EQ(model.quit(), "");
    const ProfileFile saved(dir.file("z.ini"));
    EXPECT_EQ(saved.readString("Grille", "Nom du point", "", 260), "Borne é");
    EXPECT_EQ(saved.readInt("Grille", "Mode", -1), 1);
    EXPECT_EQ(saved.readSection("Grille", 4096).size(), 22u);
    EXPECT_TRUE(saved.readSection("Standard", 4096).empty()) << "no section is made for a page that does not exist";
}

TEST(MainDialogModel, QuitSavesIntoTheUsersOwnFileNotTheSharedOne) {
    TempDir dir;
    const std::string shared = kStandardSection;
    writeFile(dir.file("share/zelvo.ini"), shared);
    ConfigurationSearch search;
    search.candidates = {dir.file("home/Zelvo/zelvo.ini"), dir.file("share/zelvo.ini")};
    search.found = dir.file("share/zelvo.ini");
    search.userFile = dir.file("home/Zelvo/zelvo.ini");
    MainDialogModel model{ProfileFile(*search.found), search};
    model.settings(Page::Standard).pointName = "Borne 7";
    EXPECT_EQ(model.quit(), "");
    EXPECT_EQ(test::readFile(dir.file("share/zelvo.ini")), shared) << "the shared file is never written";
    EXPECT_EQ(ProfileFile(dir.file("home/Zelvo/zelvo.ini")).readString("Standard", "Nom du point", "", 260), "Borne 7");
}

TEST(MainDialogModel, AFailedSaveGivesOneWarning) {
    TempDir dir;
    writeFile(dir.file("conf/z.ini"), kStandardSection + kGridSection);
    MainDialogModel model{ProfileFile(dir.file("conf/z.ini"))};
    // The folder is gone: neither page can be written.
    fs::remove_all(dir.file("conf"));
    EXPECT_EQ(model.quit(),
              "Les données de configuration n'ont pu être sauvegardées correctement !\nVerifiez que Zelvo.ini est "
              "accessible en ecriture...");
}

TEST(ProgressModel, PercentagesOfPositions) {
    const struct {
        int lower, upper, position;
        const char* shown;
    } cases[] = {
        {1, 100, 1, "0%"},   {1, 100, 51, "50%"},  {1, 100, 100, "100%"}, {0, 100, 150, "50%"},
        {0, 100, 200, "0%"}, {0, 100, 99, "99%"},  {5, 5, 5, "0%"},       {0, 3, 2, "66%"},
    };
    for (const auto& c : cases) {
        ProgressModel model;
        model.setRange(c.lower, c.upper);
        model.setPosition(c.position);
        EXPECT_EQ(model.percentText(), c.shown) << c.lower << ".." << c.upper << " at " << c.position;
    }
}

TEST(ProgressModel, StepsAndCancel) {
    ProgressModel model;
    EXPECT_EQ(model.position(), 0);
    EXPECT_EQ(model.stepBar(), 0) << "the default step is 10";
    EXPECT_EQ(model.position(), 10);
    model.setStep(3);
    EXPECT_EQ(model.stepBar(), 10);
    EXPECT_EQ(model.setPosition(40), 13);
    EXPECT_FALSE(model.pollCancel());
    model.requestCancel();
    model.requestCancel();
    EXPECT_TRUE(model.pollCancel());
    EXPECT_FALSE(model.pollCancel()) << "reading the request clears it";
}

TEST(ConfiguredTexts, PresentationAndAboutTexts) {
    TempDir dir;
    writeFile(dir.file("z.ini"),
              "[INFORMATIONS]\nTitre=Zelvo é\nVersion=2.1\nCopyright=(c) nous\nStandard=A\nGrille=B\n");
    const ProfileFile profile(dir.file("z.ini"));
    const PresentationTexts p = readPresentationTexts(profile);
    EXPECT_EQ(p.descriptions, "A\n\nB");
    EXPECT_EQ(p.gridText, "B");
    EXPECT_EQ(p.noticeText, "(c) nous");
    EXPECT_EQ(p.versionText, "2.1");
    const AboutTexts a = readAboutTexts(profile);
    EXPECT_EQ(a.titleText, "Zelvo é");
    EXPECT_EQ(a.versionText, "2.1");

    writeFile(dir.file("empty.ini"), "[DATA]\nData=x\n");
    const PresentationTexts none = readPresentationTexts(ProfileFile(dir.file("empty.ini")));
    EXPECT_EQ(none.descriptions, "\n\n");
    EXPECT_EQ(none.noticeText + none.versionText + readAboutTexts(ProfileFile(dir.file("empty.ini"))).titleText, "");
}

TEST(DialogUnits, ConvertWithTheFontsBaseUnits) {
    EXPECT_EQ(averageCharWidth(312), 6);
    EXPECT_EQ(averageCharWidth(285), 5) << "5.48 rounds down";
    EXPECT_EQ(averageCharWidth(286), 6) << "5.5 rounds up";
    const struct {
        DialogBaseUnits base;
        int x, y, w, h;
        PixelRect expected;
    } cases[] = {
        {{6, 14}, 5, 0, 379, 308, {8, 0, 568, 539}},  // corners 7.5 and 576 round to 8 and 576
        {{6, 14}, 155, 314, 50, 14, {233, 550, 75, 24}},  // rows 549.5 and 574 give 550 and 574
        {{7, 16}, 389, 334, 0, 1, {681, 668, 0, 2}},
        {{6, 13}, 127, 51, 111, 101, {191, 83, 166, 164}},  // the picture 1033 ends where 1023 starts
        {{6, 13}, 29, 152, 318, 87, {44, 247, 477, 141}},
    };
    for (const auto& c : cases) {
        const PixelRect r = toPixels(c.base, c.x, c.y, c.w, c.h);
        EXPECT_EQ((std::array{r.x, r.y, r.width, r.height}),
                  (std::array{c.expected.x, c.expected.y, c.expected.width, c.expected.height}))
            << c.x << "," << c.y;
    }
}

TEST(HelpFile, FoundLikeTheConfiguredFiles) {
    TempDir work, config;
    CZelvoApp app;
    app.programName = "geo";
    app.workingDirectory = work.str() + "/";
    app.iniPath = config.file("geo.ini");
    EXPECT_EQ(helpFilePath(app), "") << "no help anywhere";
    writeFile(config.file("geo.html"), "<html></html>");
    EXPECT_EQ(helpFilePath(app), config.file("geo.html"));
    writeFile(work.file("geo.html"), "<html></html>");
    EXPECT_EQ(helpFilePath(app), work.file("geo.html"));
}

}  // namespace
}  // namespace zelvo
