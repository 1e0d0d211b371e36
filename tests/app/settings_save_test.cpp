// Where the window mode's settings are saved: always the user's own configuration file, never a
// shared one (XDG_CONFIG_DIRS, the installed default data).

#include <gtest/gtest.h>

#include <filesystem>

#include "app/configuration.hpp"
#include "app/page_settings.hpp"
#include "platform/profile.hpp"
#include "support/test_support.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::ScopedEnv;
using test::TempDir;
using test::writeFile;

const std::string kShared =
    "; partagé\r\n[DATA]\r\nData=catalogue.dat\r\n[Standard]\r\nMode=0\r\nNom du point=Point 1\r\n";

PageSettings someSettings() {
    PageSettings s;
    s.mode = 1;
    s.pointName = "Borne 7";
    s.departureSystem = "NTF";
    return s;
}

TEST(SettingsSave, GoesToTheUsersOwnFileAndNeverToASharedOne) {
    enum class Target { UserFile, AllUsersFile, Nowhere };
    const struct {
        const char* what;
        bool allUsers;     // ALLUSERSPROFILE set, the shared file under it
        bool userHome;     // XDG_CONFIG_HOME set
        bool userFileExists;
        Target target;
    } cases[] = {
        {"first save over the shared default: a copy is made", false, true, false, Target::UserFile},
        {"later saves: the user's file", false, true, true, Target::UserFile},
        {"no home at all: nowhere", false, false, false, Target::Nowhere},
        {"the Windows layout: the file found", true, false, false, Target::AllUsersFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir root;
        const std::string shared = root.file(c.allUsers ? "all/Zelvo/zelvo.ini" : "xdg/Zelvo/zelvo.ini");
        writeFile(shared, kShared);
        fs::permissions(shared, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const std::string user = root.file("home/Zelvo/zelvo.ini");
        if (c.userFileExists) writeFile(user, "[DATA]\r\nData=mien.dat\r\n");
        const ScopedEnv allUsers("ALLUSERSPROFILE",
                                 c.allUsers ? std::optional<std::string>(root.file("all")) : std::nullopt);
        const ScopedEnv home("HOME", std::nullopt);
        const ScopedEnv configHome("XDG_CONFIG_HOME",
                                   c.userHome ? std::optional<std::string>(root.file("home")) : std::nullopt);
        const ScopedEnv configDirs("XDG_CONFIG_DIRS", root.file("xdg"));

        const ConfigurationSearch search = locateConfiguration("zelvo");
        ASSERT_TRUE(search.found);
        const bool saved = saveUserPageSettings(search, 2, someSettings());

        if (c.target == Target::AllUsersFile) {
            EXPECT_TRUE(saved);
            PageSettings back;
            EXPECT_TRUE(loadPageSettings(ProfileFile(shared), 2, back));
            EXPECT_EQ(back.pointName, "Borne 7");
            continue;
        }
        EXPECT_EQ(readFile(shared), kShared) << "the shared file is untouched";
        if (c.target == Target::Nowhere) {
            EXPECT_FALSE(saved);
            continue;
        }
        ASSERT_TRUE(saved);
        const ProfileFile profile(user);
        PageSettings back;
        ASSERT_TRUE(loadPageSettings(profile, 2, back));
        EXPECT_EQ(back.mode, 1);
        EXPECT_EQ(back.pointName, "Borne 7");
        EXPECT_EQ(back.departureSystem, "NTF");
        const std::string data = c.userFileExists ? "mien.dat" : "catalogue.dat";
        EXPECT_EQ(profile.readString("DATA", "Data", "", 260), data)
            << "the first save starts from the shared file; later ones keep the user's own";
        EXPECT_EQ(profile.readString("Standard", "Nom du point", "", 260), c.userFileExists ? "" : "Point 1");
        EXPECT_TRUE((fs::status(user).permissions() & fs::perms::owner_write) != fs::perms::none)
            << "the copy of a read-only file is the user's to write";
        EXPECT_EQ(locateConfiguration("zelvo").found, user) << "the next start reads the user's file";
    }
}

}  // namespace
}  // namespace zelvo
