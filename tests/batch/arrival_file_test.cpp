// What a file run may do to its arrival path: replace a regular file safely, write through links,
// pipes and devices, refuse what it may not write, and never call a failed write a success.

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <thread>

#include "batch/batch_fixture.hpp"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

const std::string kRun = "-v -type 1 -mode 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 in.txt -typcoor2 3 9 -f2 1 ";
const std::string kPoint = "P1 814149.529 1887019.768 10\r\n";
const std::string kResultLine = "                  P1     860690.522    6319037.047     10.000";
const std::string kSummary = "1 transformation(s) réussie(s)";
const std::string kPrevious = "previous results\r\n";

struct stat statOf(const std::string& path, bool followLinks = true) {
    struct stat st {};
    EXPECT_EQ(followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st), 0) << path;
    return st;
}

class ArrivalFile : public Batch {
protected:
    void SetUp() override {
        Batch::SetUp();
        if (IsSkipped()) return;
        writeFile(file("in.txt"), kPoint);
    }

    // The run of the test, as the given user when there is one.
    test::RunResult runTo(const std::string& arrival, std::optional<test::UserIds> user = std::nullopt,
                          long long fileSizeLimit = -1) {
        test::RunOptions options;
        options.user = user;
        options.fileSizeLimit = fileSizeLimit;
        return zelvo(kRun + arrival, {}, options);
    }

    // Gives a folder, and what it holds, to the user.
    void handOver(const std::string& path, const test::UserIds& user) {
        if (::getuid() != 0) return;
        ASSERT_EQ(::chown(path.c_str(), user.uid, user.gid), 0) << path;
        if (!fs::is_directory(path)) return;
        for (const auto& entry : fs::recursive_directory_iterator(path)) {
            ASSERT_EQ(::lchown(entry.path().c_str(), user.uid, user.gid), 0) << entry.path();
        }
    }

    void expectRefused(const test::RunResult& r, const std::string& arrival) {
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_EQ(r.err, "Impossible d'ouvrir le fichier " + arrival + " !\n");
        // Refused before any point is transformed: the run stops after its validation.
        EXPECT_EQ(r.out, kWelcome + "Ligne de commande validee.\n" + kClosing);
    }

    void expectWritten(const test::RunResult& r) {
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_NE(r.out.find(kSummary), std::string::npos) << r.out;
    }

    // Nothing of a run is left beside the arrival file but the file itself.
    void expectNoTemporary(const fs::path& folder) {
        for (const auto& entry : fs::directory_iterator(folder))
            EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp")) << entry.path();
    }
};

TEST_F(ArrivalFile, AWriteProtectedFileIsRefusedAndKept) {
    const auto user = test::unprivilegedUser();
    if (!user) GTEST_SKIP() << "no unprivileged user to run as";
    // The folder is the user's, so only the file's own mode protects it.
    fs::create_directory(file("mine"));
    writeFile(file("mine/out.txt"), kPrevious);
    handOver(file("mine"), *user);
    ASSERT_EQ(::chmod(file("mine/out.txt").c_str(), 0444), 0);
    const auto r = runTo("mine/out.txt", user);
    expectRefused(r, "mine/out.txt");
    EXPECT_EQ(readFile(file("mine/out.txt")), kPrevious);
    EXPECT_EQ(statOf(file("mine/out.txt")).st_mode & 07777, 0444u);
    EXPECT_EQ(statOf(file("mine/out.txt")).st_uid, user->uid);
}

TEST_F(ArrivalFile, AFolderIsRefusedBeforeAnyPoint) {
    fs::create_directory(file("dossier"));
    expectRefused(runTo("dossier"), "dossier");
    EXPECT_TRUE(fs::is_directory(file("dossier")));
    EXPECT_TRUE(fs::is_empty(file("dossier")));
}

TEST_F(ArrivalFile, ASymbolicLinkIsWrittenThrough) {
    fs::create_directory(file("cible"));
    writeFile(file("cible/vrai.txt"), kPrevious);
    struct Case {
        const char* link;
        std::string target;  // as the link holds it
        std::string written; // the file that receives the points
    } cases[] = {
        {"lien.txt", "cible/vrai.txt", file("cible/vrai.txt")},
        {"absolu.txt", file("cible/vrai.txt"), file("cible/vrai.txt")},
        {"cible/relatif.txt", "vrai.txt", file("cible/vrai.txt")},
        {"chaine.txt", "lien.txt", file("cible/vrai.txt")},
        {"pendant.txt", "cible/nouveau.txt", file("cible/nouveau.txt")},
    };
    for (const auto& c : cases) {
        fs::create_symlink(c.target, file(c.link));
        writeFile(file("cible/vrai.txt"), kPrevious);
        expectWritten(runTo(c.link));
        EXPECT_TRUE(fs::is_symlink(file(c.link))) << c.link;
        EXPECT_EQ(fs::read_symlink(file(c.link)).string(), c.target) << c.link;
        EXPECT_NE(readFile(c.written).find(kResultLine), std::string::npos) << c.link;
    }
    expectNoTemporary(work_.path());
    expectNoTemporary(file("cible"));
    // A loop of links leads to no file.
    fs::create_symlink("boucle2.txt", file("boucle1.txt"));
    fs::create_symlink("boucle1.txt", file("boucle2.txt"));
    expectRefused(runTo("boucle1.txt"), "boucle1.txt");
    EXPECT_TRUE(fs::is_symlink(file("boucle1.txt")));
}

TEST_F(ArrivalFile, ANamedPipeReceivesThePoints) {
    ASSERT_EQ(::mkfifo(file("tube").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readFile(file("tube")); });
    const auto r = runTo("tube");
    reader.join();
    expectWritten(r);
    EXPECT_NE(received.find(kResultLine), std::string::npos) << received;
    EXPECT_TRUE(fs::is_fifo(file("tube")));
    expectNoTemporary(work_.path());
}

TEST_F(ArrivalFile, ADeviceIsWrittenAndNeverReplaced) {
    // /dev/null takes everything; /dev/full refuses every write, as a full disk does.
    std::string null = "/dev/null", full = "/dev/full";
    if (::getuid() == 0) {
        // As root a fault here could replace the system's devices: use nodes of the test's own.
        null = file("null");
        full = file("full");
        if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
            ::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            GTEST_SKIP() << "device nodes cannot be made here";
        const int probe = ::open(null.c_str(), O_WRONLY);
        if (probe < 0) GTEST_SKIP() << "device nodes cannot be opened in the temporary folder";
        ::close(probe);
    }
    expectWritten(runTo(null));
    EXPECT_TRUE(fs::is_character_file(null));

    const auto r = runTo(full);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Impossible d'écrire dans le fichier " + full + " !\n");
    EXPECT_EQ(r.out.find(kSummary), std::string::npos) << r.out;
    EXPECT_TRUE(fs::is_character_file(full));
}

TEST_F(ArrivalFile, AFileInAFolderThatTakesNoNewFileIsWrittenInPlace) {
    const auto user = test::unprivilegedUser();
    if (!user) GTEST_SKIP() << "no unprivileged user to run as";
    if (::getuid() != 0) GTEST_SKIP() << "a folder closed to this user and a file open to it need root to set up";
    // The folder stays root's and closed to the user; the file in it is the user's.
    fs::create_directory(file("ferme"));
    writeFile(file("ferme/out.txt"), kPrevious + kPrevious + kPrevious);
    ASSERT_EQ(::chown(file("ferme/out.txt").c_str(), user->uid, user->gid), 0);
    ASSERT_EQ(::chmod(file("ferme").c_str(), 0755), 0);
    const auto r = runTo("ferme/out.txt", user);
    expectWritten(r);
    const std::string written = readFile(file("ferme/out.txt"));
    EXPECT_NE(written.find(kResultLine), std::string::npos) << written;
    EXPECT_EQ(written.find("previous"), std::string::npos) << "emptied before the points: " << written;
}

TEST_F(ArrivalFile, TheReplacingFileKeepsModeOwnerAndGroup) {
    writeFile(file("out.txt"), kPrevious);
    // A group of the user's own, or any group for root.
    gid_t group = ::getgid();
    if (const struct group* users = ::getgrnam("users"); users != nullptr && ::getuid() == 0) group = users->gr_gid;
    ASSERT_EQ(::chown(file("out.txt").c_str(), ::getuid(), group), 0);
    ASSERT_EQ(::chmod(file("out.txt").c_str(), 0640), 0);
    expectWritten(runTo("out.txt"));
    const struct stat st = statOf(file("out.txt"));
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_gid, group);
    EXPECT_EQ(st.st_uid, ::getuid());
    EXPECT_NE(readFile(file("out.txt")).find(kResultLine), std::string::npos);

    // A file with a second name is written in place, so that both names keep showing it.
    fs::create_hard_link(file("out.txt"), file("autre.txt"));
    writeFile(file("in.txt"), "P2 814149.529 1887019.768 20\r\n");
    expectWritten(runTo("out.txt"));
    EXPECT_EQ(readFile(file("autre.txt")), readFile(file("out.txt")));
    EXPECT_NE(readFile(file("autre.txt")).find("P2"), std::string::npos);
}

TEST_F(ArrivalFile, AFailedWriteKeepsThePreviousFileAndIsNoSuccess) {
    // A file size limit makes the writes fail part-way, as a full disk does.
    std::string points;
    for (int i = 0; i < 2000; ++i) points += "P" + std::to_string(i) + " 814149.529 1887019.768 10\r\n";
    writeFile(file("in.txt"), points);
    writeFile(file("out.txt"), kPrevious);
    const auto r = runTo("out.txt", std::nullopt, 16384);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Impossible d'écrire dans le fichier out.txt !\n");
    EXPECT_EQ(r.out.find("réussie"), std::string::npos) << r.out;
    EXPECT_EQ(readFile(file("out.txt")), kPrevious);
    expectNoTemporary(work_.path());
}

}  // namespace
}  // namespace zelvo
