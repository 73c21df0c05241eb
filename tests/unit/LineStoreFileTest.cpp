// The line store's own LoadFromFile and SaveToFile, over files of every break
// style. (Documents are loaded by DocumentText: LoadTextFileTest.)
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/SampleFiles.h"
#include "support/TempDir.h"
#include "support/TestText.h"
#include "textstore/LineStore.h"
#include "textstore/SafeFileWriter.h"
#include "textstore/ShiftJis.h"

using namespace tw;
using namespace std::string_literals;
using namespace tw::test;

namespace {

std::vector<std::string> Load(const TempDir& dir, const std::string& bytes) {
    TVellStrings s;
    s.LoadFromFile(dir.Write("in.txt", bytes));
    EXPECT_EQ(s.Capacity(), s.Count());
    return RowsOf(s);
}

using Rows = std::vector<std::string>;

/// The value of an extended attribute; nullopt when the file has none of that name.
std::optional<std::string> Attribute(const std::string& path, const char* name) {
    char value[512];
    const ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
    if (n < 0) return std::nullopt;
    return std::string(value, static_cast<size_t>(n));
}

ino_t Inode(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_ino;
}

/// Saves "new" CR LF over `path`.
void SaveNew(const std::string& path) {
    TVellStrings s;
    s.SetText("new\r\n\0\0"s);
    s.SaveToFile(path);
}

/// Loads each file into the store and saves it again: a file whose lines all
/// end alike comes back with CR LF breaks and every other byte as it was (a
/// CR LF file byte for byte); a missing final break stays missing.
void ExpectRoundTrip(const std::vector<std::filesystem::path>& files) {
    TempDir dir;
    for (const auto& file : files) {
        const std::string original = ReadFile(file.string());
        const std::string expected = WithCrLfBreaks(original);
        TVellStrings s;
        s.LoadFromFile(file.string());
        const bool endsWithBreak = expected.ends_with("\r\n");
        EXPECT_EQ(s.Get(s.Count() - 1) == Entry(kEndMarker), endsWithBreak) << file;
        for (int32_t i = 0; i + 1 < s.Count(); ++i)
            ASSERT_TRUE(s.View(i).ends_with("\r\n")) << file << " row " << i;
        const std::string out = dir.File(file.filename().string());
        s.SaveToFile(out);
        EXPECT_EQ(ReadFile(out), expected) << file;
        EXPECT_EQ(s.GetText(), expected) << file;
    }
}

}  // namespace

TEST(DetectLineBreak, FirstBreakDecides) {
    TempDir dir;
    EXPECT_EQ(DetectLineBreak(dir.Write("a", "a\r\nb\n")), kBreakCrLf);
    EXPECT_EQ(DetectLineBreak(dir.Write("b", "a\rb\r\n")), kBreakCr);
    EXPECT_EQ(DetectLineBreak(dir.Write("c", "a\nb\r\n")), kBreakLf);
    EXPECT_EQ(DetectLineBreak(dir.Write("d", "")), kBreakEmptyFile);
    EXPECT_EQ(DetectLineBreak(dir.Write("e", "ab\0\r\n"s)), kBreakCr);  // NUL first
    EXPECT_EQ(DetectLineBreak(dir.Write("f", std::string(1024, 'x') + "\r\n")), kBreakCr);
    EXPECT_EQ(DetectLineBreak(dir.Write("g", std::string(1022, 'x') + "\r\n")), kBreakCrLf);
    EXPECT_EQ(DetectLineBreak(dir.Write("h", std::string(1023, 'x') + "\r\n")),
              kBreakCr);  // LF unseen
    EXPECT_EQ(DetectLineBreak(dir.Write("i", "x\r")), kBreakCr);
    EXPECT_THROW(DetectLineBreak(dir.File("missing")), FileIoError);
}

TEST(LoadFromFile, CrLfFiles) {
    TempDir dir;
    EXPECT_EQ(Load(dir, "a\r\nb\r\n"), (Rows{"a\r\n", "b\r\n", "\0\0"s}));
    EXPECT_EQ(Load(dir, "a\r\nb"), (Rows{"a\r\n", "b\0\0"s}));
    // A lone CR later in a CR LF file disappears from its line.
    EXPECT_EQ(Load(dir, "a\r\nb\rc\r\n"), (Rows{"a\r\n", "bc\r\n", "\0\0"s}));
    // A bare LF still ends a line.
    EXPECT_EQ(Load(dir, "a\r\nb\nc"), (Rows{"a\r\n", "b\r\n", "c\0\0"s}));
    EXPECT_EQ(Load(dir, "\r\n\r\n"), (Rows{"\r\n", "\r\n", "\0\0"s}));
    // Double-byte characters whose trail is 0x5C stay intact.
    EXPECT_EQ(Load(dir, "\x83\x5c\r\n\x95\x5c"), (Rows{"\x83\x5c\r\n", "\x95\x5c\0\0"s}));
}

TEST(LoadFromFile, CtrlZEndsACrLfFileButTheRealTailDecides) {
    TempDir dir;
    EXPECT_EQ(Load(dir,
                   "a\r\nb\x1a"
                   "c\r\n"),
              (Rows{"a\r\n", "b\r\n", "\0\0"s}));
    EXPECT_EQ(Load(dir,
                   "a\r\nb\x1a"
                   "cd"),
              (Rows{"a\r\n", "b\0\0"s}));
    EXPECT_EQ(Load(dir,
                   "a\r\n\x1a"
                   "cd"),
              (Rows{"a\0\0"s}));
    EXPECT_EQ(Load(dir, "\x1a\r\nxy"), (Rows{"\0\0"s}));
}

TEST(LoadFromFile, CrLfSplitAcrossReadBlocks) {
    TempDir dir;
    // The CR is the last byte of the first 8,192-byte block, its LF the first of the next.
    std::string first = "head\r\n" + std::string(8192 - 6 - 1, 'x') + "\r";
    std::string bytes = first + "\ntail\r\n";
    ASSERT_EQ(first.size(), 8192u);
    EXPECT_EQ(Load(dir, bytes),
              (Rows{"head\r\n", std::string(8185, 'x') + "\r\n", "tail\r\n", "\0\0"s}));

    // A line far longer than a block.
    std::string longLine(100000, 'L');
    EXPECT_EQ(Load(dir, "s\r\n" + longLine + "\r\nt"),
              (Rows{"s\r\n", longLine + "\r\n", "t\0\0"s}));
}

TEST(LoadFromFile, LfFiles) {
    TempDir dir;
    EXPECT_EQ(Load(dir, "a\nb"), (Rows{"a\r\n", "b\0\0"s}));
    EXPECT_EQ(Load(dir, "a\n"), (Rows{"a\r\n", "\0\0"s}));
    // A CR LF line in an LF file keeps its CR inside the line.
    EXPECT_EQ(Load(dir, "a\nb\r\nc"), (Rows{"a\r\n", "b\r\r\n", "c\0\0"s}));
    // NUL bytes are removed.
    EXPECT_EQ(Load(dir, "a\n\0b\0\nc\0"s), (Rows{"a\r\n", "b\r\n", "c\0\0"s}));
    // A Ctrl+Z is ordinary text here.
    EXPECT_EQ(Load(dir, "a\x1a\nb"), (Rows{"a\x1a\r\n", "b\0\0"s}));
}

TEST(LoadFromFile, CrFiles) {
    TempDir dir;
    EXPECT_EQ(Load(dir, "a\rb"), (Rows{"a\r\n", "b\0\0"s}));
    EXPECT_EQ(Load(dir, "a\rb\r"), (Rows{"a\r\n", "b\r\n", "\0\0"s}));
    // An LF inside a line stays.
    EXPECT_EQ(Load(dir, "a\rb\nc\r"), (Rows{"a\r\n", "b\nc\r\n", "\0\0"s}));
    // No break in the first 1,024 bytes: CR mode, and the file has only LF.
    std::string head(1030, 'h');
    EXPECT_EQ(Load(dir, head + "\nx"), (Rows{head + "\nx\0\0"s}));
}

TEST(LoadFromFile, CrLfFileWithALongFirstLineKeepsItsBytes) {
    // CR mode is chosen when the first 1,024 bytes hold no break; an LF right
    // after a break CR must not turn into an extra line on save.
    TempDir dir;
    std::string bytes = std::string(2000, 'p') + "\r\nsecond\r\nthird";
    TVellStrings s;
    std::string in = dir.Write("in.txt", bytes);
    ASSERT_EQ(DetectLineBreak(in), kBreakCr);
    s.LoadFromFile(in);
    EXPECT_EQ(RowsOf(s), (Rows{std::string(2000, 'p') + "\r\n", "second\r\n", "third\0\0"s}));
    s.SaveToFile(dir.File("out.txt"));
    EXPECT_EQ(ReadFile(dir.File("out.txt")), bytes);
}

TEST(LoadFromFile, ACrModeBreakSplitAcrossTwoReadsSavesBackExactly) {
    // No break in the first 1,024 bytes: CR mode. The CR of one break is the
    // last byte of the first 16,384-byte read, its LF the first of the next.
    TempDir dir;
    std::string bytes = std::string(2000, 'p') + "\r\n";
    bytes += std::string(16383 - bytes.size(), 'x');
    bytes += "\r\nnext\r\nlast";
    ASSERT_EQ(bytes[16383], '\r');
    ASSERT_EQ(bytes[16384], '\n');
    const std::string in = dir.Write("in.txt", bytes);
    ASSERT_EQ(DetectLineBreak(in), kBreakCr);
    TVellStrings s;
    s.LoadFromFile(in);
    EXPECT_EQ(s.Count(), 4);
    s.SaveToFile(dir.File("out.txt"));
    EXPECT_EQ(ReadFile(dir.File("out.txt")), bytes);
}

TEST(LoadFromFile, LinesAcrossTheSixteenKilobyteRefill) {
    TempDir dir;
    // Lines of 100 bytes: one of them straddles offset 15,872 and another 16,384.
    std::string bytes;
    Rows expected;
    for (int i = 0; i < 400; ++i) {
        std::string line = std::to_string(i) + std::string(95 - std::to_string(i).size(), '.');
        line += "\x82\xa0\x82";  // a double-byte character and a lead byte the LF follows
        bytes += line + "\n";
        expected.push_back(line + "\r\n");
    }
    expected.push_back("\0\0"s);
    EXPECT_EQ(Load(dir, bytes), expected);
    // The same in CR mode, with NULs sprinkled around the block edges.
    std::string cr = bytes;
    for (char& c : cr)
        if (c == '\n') c = '\r';
    cr.insert(15872, 1, '\0');
    cr.insert(16384, 1, '\0');
    EXPECT_EQ(Load(dir, cr), expected);
}

TEST(LoadFromFile, EmptyFileKeepsTheStoreAndMissingFileThrows) {
    TempDir dir;
    TVellStrings s;
    s.Add("keep\0\0"s);
    s.LoadFromFile(dir.Write("empty", ""));
    EXPECT_EQ(RowsOf(s), (Rows{"keep\0\0"s}));
    EXPECT_THROW(s.LoadFromFile(dir.File("missing")), FileIoError);
    EXPECT_EQ(RowsOf(s), (Rows{"keep\0\0"s}));
}

TEST(SaveToFile, WritesTheTextWithoutTheEndMarker) {
    TempDir dir;
    TVellStrings s;
    s.SetText("abc"s);  // a wrapped piece
    s.Add("def\r\n");
    s.Add("g\0\0"s);
    s.SaveToFile(dir.File("o"));
    EXPECT_EQ(ReadFile(dir.File("o")), "abcdef\r\ng");

    TVellStrings one;
    one.Add("\0\0"s);
    one.SaveToFile(dir.File("empty"));
    EXPECT_EQ(ReadFile(dir.File("empty")), "");

    TVellStrings none;
    EXPECT_THROW(none.SaveToFile(dir.File("none")), ListIndexError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("none")));
}

TEST(SaveToFile, ReplacesAtomicallyKeepingModeAndLinks) {
    TempDir dir;
    std::string target = dir.Write("doc.txt", "old content");
    ::chmod(target.c_str(), 0640);
    std::string link = dir.File("link.txt");
    ASSERT_EQ(::symlink("doc.txt", link.c_str()), 0);

    TVellStrings s;
    s.SetText("new\r\n\0\0"s);
    s.SaveToFile(link);
    EXPECT_EQ(ReadFile(target), "new\r\n");
    struct stat st;
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link must stay a link";
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST(SaveToFile, HardLinkedFileIsWrittenInPlace) {
    TempDir dir;
    std::string a = dir.Write("a.txt", "old");
    std::string b = dir.File("b.txt");
    ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
    TVellStrings s;
    s.SetText("fresh\0\0"s);
    s.SaveToFile(a);
    EXPECT_EQ(ReadFile(b), "fresh");  // both names still share one file
}

TEST(SaveToFile, FailureLeavesTheOldFileIntact) {
    if (::geteuid() == 0) {
        // Root writes through permissions; use a file system that is full instead.
        if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    }
    TempDir dir;
    TVellStrings s;
    s.SetText("new text\r\n\0\0"s);
    if (::geteuid() != 0) {
        std::string target = dir.Write("ro.txt", "precious");
        ::chmod(dir.path().c_str(), 0500);
        ::chmod(target.c_str(), 0400);
        EXPECT_THROW(s.SaveToFile(target), FileIoError);
        ::chmod(dir.path().c_str(), 0700);
        EXPECT_EQ(ReadFile(target), "precious");
    }
    // Writing to a device that reports ENOSPC must fail loudly.
    EXPECT_THROW(s.SaveToFile("/dev/full"), FileIoError);
}

TEST(SaveToFile, InPlaceWriteRestoresTheOldContentOnFailure) {
    // A full disk in the middle of an in-place write: simulated with a file
    // size limit, which makes the write fail with EFBIG.
    TempDir dir;
    std::string a = dir.Write("a.txt", "the old content");
    ASSERT_EQ(::link(a.c_str(), dir.File("b.txt").c_str()), 0);  // forces in-place
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim {
            100000, 100000
        };
        setrlimit(RLIMIT_FSIZE, &lim);
        TVellStrings s;
        s.SetText(std::string(300000, 'z') + "\0\0"s);
        try {
            s.SaveToFile(a);
        } catch (const FileIoError&) {
            _exit(7);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7) << "the failed save must be reported";
    EXPECT_EQ(ReadFile(a), "the old content");
}

TEST(SaveToFile, KeepsExtendedAttributesAndTheAcl) {
    TempDir dir;
    const std::string target = dir.Write("doc.txt", "old");
    if (::setxattr(target.c_str(), "user.tarnwick", "kept", 4, 0) != 0)
        GTEST_SKIP() << "the file system under " << dir.path()
                     << " keeps no user attributes: " << std::strerror(errno);
    const bool acl =
        std::system(("setfacl -m u:nobody:rw '" + target + "' 2>/dev/null").c_str()) == 0;
    const std::optional<std::string> aclBefore = Attribute(target, "system.posix_acl_access");
    const ino_t before = Inode(target);
    SaveNew(target);
    EXPECT_EQ(ReadFile(target), "new\r\n");
    EXPECT_EQ(Attribute(target, "user.tarnwick"), "kept");
    if (acl) {
        ASSERT_TRUE(aclBefore.has_value());
        EXPECT_EQ(Attribute(target, "system.posix_acl_access"), aclBefore);
        // A folder's default ACL does not slip onto a file that had none.
        const std::string plain = dir.Write("plain.txt", "old");
        ASSERT_EQ(std::system(("setfacl -d -m u:nobody:rwx '" + dir.path().string() + "'").c_str()),
                  0);
        SaveNew(plain);
        EXPECT_EQ(Attribute(plain, "system.posix_acl_access"), std::nullopt);
    } else {
        std::printf("setfacl is missing (scripts/install-deps.sh installs it): ACL not tried\n");
    }
    EXPECT_NE(Inode(target), before) << "attributes that copy still allow the atomic rename";
}

TEST(SaveToFile, AnAttributeThatCannotBeCopiedMakesTheSaveWriteInPlace) {
    if (::geteuid() != 0) GTEST_SKIP() << "setting a security attribute needs root";
    TempDir dir;
    const std::string target = dir.Write("doc.txt", "old");
    if (::setxattr(target.c_str(), "security.tarnwick", "label", 5, 0) != 0)
        GTEST_SKIP() << "no security attributes here: " << std::strerror(errno);
    const ino_t before = Inode(target);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // Without CAP_SYS_ADMIN the attribute can be read, but not set on a new file.
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[2]{};
        ::syscall(SYS_capget, &header, caps);
        caps[CAP_SYS_ADMIN / 32].effective &= ~(1u << (CAP_SYS_ADMIN % 32));
        if (::syscall(SYS_capset, &header, caps) != 0) _exit(5);
        try {
            SaveNew(target);
        } catch (const FileIoError&) {
            _exit(7);
        }
        _exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(target), "new\r\n");
    EXPECT_EQ(Attribute(target, "security.tarnwick"), "label");
    EXPECT_EQ(Inode(target), before);
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST(RoundTrip, SampleFilesSaveBackWithOnlyTheirBreaksMadeCrLf) {
    const auto files = DataSamples();
    EXPECT_GE(files.size(), 5u);
    ExpectRoundTrip(files);
    // The samples hold LF and CR files, and a file without a final break.
    int converted = 0, unended = 0;
    for (const auto& file : files) {
        const std::string original = ReadFile(file.string());
        converted += WithCrLfBreaks(original) != original;
        unended += !original.ends_with('\r') && !original.ends_with('\n');
    }
    EXPECT_GE(converted, 2);
    EXPECT_GE(unended, 1);
}

TEST(RoundTrip, CorpusFilesSaveBackWithOnlyTheirBreaksMadeCrLf) {
    const auto corpus = CorpusDir();
    if (!corpus) GTEST_SKIP() << NoCorpus();
    const auto files = TextFiles(*corpus);
    EXPECT_GE(files.size(), 7u);
    ExpectRoundTrip(files);
}
