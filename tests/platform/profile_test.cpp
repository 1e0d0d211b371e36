#include "platform/profile.hpp"

#include <gtest/gtest.h>
#include <filesystem>
#include <unistd.h>
#include <sys/wait.h>
#include <sys/stat.h>

#include "support/test_support.hpp"

namespace zelvo {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

const std::string kIni =
    "; Réglages\r\n"
    "[INFORMATIONS]\r\n"
    "Titre = Zelvo essai\r\n"
    "Version=\"1.2\"\r\n"
    "\r\n"
    "[Standard]\r\n"
    "Mode=1\r\n"
    "Système de départ=NTF\r\n"
    "; une remarque\r\n"
    "Verticale=abc\r\n"
    "Mode=7\r\n"
    "\r\n"
    "[Vide]\r\n"
    "; fin du fichier\r\n";

TEST(ProfileFile, ReadsLikeTheProfileFunctions) {
    TempDir dir;
    writeFile(dir.file("z.ini"), kIni);
    const ProfileFile ini(dir.file("z.ini"));
    struct Case {
        const char* section;
        const char* key;
        std::size_t buffer;
        const char* expected;
    } cases[] = {
        {"INFORMATIONS", "Titre", 80, "Zelvo essai"},
        {"informations", "TITRE", 80, "Zelvo essai"},  // names compared case-insensitively
        {"INFORMATIONS", "Titre", 6, "Zelvo"},        // cut to the buffer, less its terminator
        {"INFORMATIONS", "Version", 80, "1.2"},       // one pair of quotes removed
        {"Standard", "Système de départ", 260, "NTF"},
        {"Standard", "Absent", 260, "défaut"},
        {"Absente", "Titre", 260, "défaut"},
        {"Standard", "Système de départ", 3, "NT"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.readString(c.section, c.key, "défaut", c.buffer), c.expected) << c.section << "/" << c.key;
    EXPECT_EQ(ini.readString("Standard", "Système de départ", "", 1), "");
    // Cutting never splits a character in two.
    writeFile(dir.file("accents.ini"), "[A]\r\nK=ééé\r\n");
    EXPECT_EQ(ProfileFile(dir.file("accents.ini")).readString("A", "K", "", 3), "éé");
}

TEST(ProfileFile, ReadsIntegersAndSections) {
    TempDir dir;
    writeFile(dir.file("z.ini"), kIni);
    const ProfileFile ini(dir.file("z.ini"));
    EXPECT_EQ(ini.readInt("Standard", "Mode", 0), 1);  // the first of two equal keys
    EXPECT_EQ(ini.readInt("Standard", "Verticale", 5), 0);
    EXPECT_EQ(ini.readInt("Standard", "Absent", 5), 5);
    EXPECT_EQ(ini.readSection("Standard", 260).size(), 4u);
    EXPECT_TRUE(ini.readSection("Vide", 260).empty());
    EXPECT_TRUE(ini.readSection("Absente", 260).empty());
    EXPECT_TRUE(ProfileFile(dir.file("none.ini")).readSection("Standard", 260).empty());
    EXPECT_EQ(ProfileFile(dir.file("none.ini")).readString("A", "B", "x", 10), "x");
}

TEST(ProfileFile, WriteChangesOnlyTheKeyLine) {
    TempDir dir;
    writeFile(dir.file("z.ini"), kIni);
    ProfileFile ini(dir.file("z.ini"));
    ASSERT_TRUE(ini.writeString("standard", "VERTICALE", "2"));
    std::string expected = kIni;
    expected.replace(expected.find("Verticale=abc"), 13, "Verticale=2");
    EXPECT_EQ(readFile(dir.file("z.ini")), expected);

    ASSERT_TRUE(ini.writeString("Standard", "Nouvelle", "é"));
    ASSERT_TRUE(ini.writeString("Autre", "Clé", "v"));
    EXPECT_EQ(ini.readString("Standard", "Nouvelle", "", 260), "é");
    EXPECT_EQ(ini.readString("Autre", "Clé", "", 260), "v");
    const std::string after = readFile(dir.file("z.ini"));
    EXPECT_NE(after.find("Mode=7\r\nNouvelle=é\r\n\r\n[Vide]"), std::string::npos) << after;
    EXPECT_TRUE(after.ends_with("; fin du fichier\r\n[Autre]\r\nClé=v\r\n")) << after;
}

TEST(ProfileFile, WriteCreatesAMissingFile) {
    TempDir dir;
    ProfileFile ini(dir.file("new.ini"));
    ASSERT_TRUE(ini.writeString("Grille", "Mode", "1"));
    EXPECT_EQ(readFile(dir.file("new.ini")), "[Grille]\r\nMode=1\r\n");
    EXPECT_FALSE(ProfileFile(dir.file("missing/dir/x.ini")).writeString("A", "B", "C"));
}

TEST(ProfileFile, Windows1252AndUtf8FilesGiveTheSameKeys) {
    TempDir dir;
    const std::string utf8 = "[Standard]\r\nSystème de départ=Référentiel œuvre\r\nUnité d'arrivée=Degrés décimaux\r\n";
    // The same text as a Windows program writes it: è é œ as single bytes.
    std::string cp1252 = "[Standard]\r\nSyst\xE8me de d\xE9part=R\xE9" "f\xE9rentiel \x9Cuvre\r\nUnit\xE9 d'arriv\xE9"
                         "e=Degr\xE9s d\xE9" "cimaux\r\n";
    writeFile(dir.file("u.ini"), utf8);
    writeFile(dir.file("w.ini"), cp1252);
    ProfileFile u(dir.file("u.ini")), w(dir.file("w.ini"));
    EXPECT_EQ(u.encoding(), TextEncoding::Utf8);
    EXPECT_EQ(w.encoding(), TextEncoding::Windows1252);
    for (const char* key : {"Système de départ", "Unité d'arrivée"})
        EXPECT_EQ(u.readString("Standard", key, "", 260), w.readString("Standard", key, "", 260)) << key;
    EXPECT_EQ(w.readString("Standard", "Système de départ", "", 260), "Référentiel œuvre");

    // Written back in the encoding it was read in.
    ASSERT_TRUE(w.writeString("Standard", "Méridien de départ", "Paris é"));
    const std::string bytes = readFile(dir.file("w.ini"));
    EXPECT_NE(bytes.find("M\xE9ridien de d\xE9part=Paris \xE9\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("R\xE9" "f\xE9rentiel \x9Cuvre"), std::string::npos);
    EXPECT_EQ(w.encoding(), TextEncoding::Windows1252);
}


TEST(ProfileFile, WritesWithTheRulesOfTheArrivalFiles) {
    // A link is followed and stays, a hard link keeps its names, the mode stays; a file the user
    // may not write is refused and left as it was.
    namespace fs = std::filesystem;
    const std::string before = "[Standard]\r\nMode=0\r\n", after = "[Standard]\r\nMode=1\r\n";
    test::TempDir dir;
    const std::string real = dir.file("real.ini");
    const auto reset = [&] {
        fs::remove(real);
        test::writeFile(real, before);
        fs::permissions(real, fs::perms(0640));
    };
    reset();
    fs::create_symlink(real, dir.file("link.ini"));
    EXPECT_TRUE(ProfileFile(dir.file("link.ini")).writeString("Standard", "Mode", "1"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.ini")));
    EXPECT_EQ(test::readFile(real), after);
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));

    reset();
    fs::create_hard_link(real, dir.file("hard.ini"));
    EXPECT_TRUE(ProfileFile(dir.file("hard.ini")).writeString("Standard", "Mode", "1"));
    EXPECT_EQ(fs::hard_link_count(real), 2u);
    EXPECT_EQ(test::readFile(real), after);
    fs::remove(dir.file("hard.ini"));

    // Not writable by this user: refused, in a child running as a user without privileges.
    const auto user = test::unprivilegedUser();
    if (!user) GTEST_SKIP() << "no unprivileged user";
    reset();
    fs::permissions(dir.path(), fs::perms(0777));
    fs::permissions(real, fs::perms(0644));
    const bool root = ::getuid() == 0;
    if (!root) fs::permissions(real, fs::perms(0444));
    const pid_t child = ::fork();
    if (child == 0) {
        if (root && (::setgid(user->gid) != 0 || ::setuid(user->uid) != 0)) ::_exit(2);
        ::_exit(ProfileFile(real).writeString("Standard", "Mode", "1") ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a write-protected file is refused";
    EXPECT_EQ(test::readFile(real), before);
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, ::getuid()) << "the owner stays";
}


}  // namespace
}  // namespace zelvo
