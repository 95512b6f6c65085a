#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#if defined(__linux__)
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "common/binio.h"
#include "common/cp1250.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/pstring.h"

namespace cw {
namespace {

namespace fs = std::filesystem;

TEST(ByteReader, ReadsLittleEndianAndRefusesToRunPastTheEnd) {
    const std::vector<std::uint8_t> bytes = {0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x01};
    ByteReader r(bytes, "Test file");
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.i32(), -2);
    EXPECT_EQ(r.remaining(), 1u);
    try {
        r.u16();
        FAIL() << "read past the end";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("Test file ends early"), std::string::npos) << e.what();
    }
    EXPECT_EQ(r.position(), 6u);  // a failed read consumes nothing
    EXPECT_EQ(r.u8(), 1);
    EXPECT_TRUE(r.atEnd());
}

TEST(ByteReader, RequireCountNamesTheListAndItsLimitBeforeCheckingTheBytes) {
    const std::vector<std::uint8_t> bytes(10, 0);
    ByteReader r(bytes, "Base level");
    try {
        r.requireCount(3100, 2500, "object textures", 20);
        FAIL();
    } catch (const FormatError& e) {
        EXPECT_STREQ(e.what(), "Base level has 3100 object textures; at most 2500 are supported");
    }
    EXPECT_NO_THROW(r.requireCount(5, 2500, "words", 2));
    EXPECT_THROW(r.requireCount(6, 2500, "words", 2), IoError);
    // A count whose bytes would overflow a size computation is still refused, not wrapped.
    EXPECT_THROW(r.requireCount(0xFFFFFFFFull, 0xFFFFFFFFull, "frames", 16), IoError);
}

TEST(ByteWriter, WritesLittleEndian) {
    ByteWriter w;
    w.u16(0x1234);
    w.i16(-1);
    w.u32(0xA1B2C3D4);
    w.zeros(2);
    EXPECT_EQ(w.bytes(), (std::vector<std::uint8_t>{0x34, 0x12, 0xFF, 0xFF, 0xD4, 0xC3, 0xB2, 0xA1, 0, 0}));
}

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder a test: CTest runs the tests of this fixture side by side, in separate
        // processes, and the random seed is the same 0 in all of them.
        dir = fs::temp_directory_path() /
              (std::string("cw_files_test_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::vector<fs::path> entries() const {
        std::vector<fs::path> out;
        for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename());
        return out;
    }
    fs::path dir;
};

TEST_F(FilesTest, AtomicWriteReplacesTheFileAndLeavesNoTemporary) {
    const fs::path target = dir / "out.bin";
    writeFileAtomically(target, std::vector<std::uint8_t>{1, 2, 3});
    writeFileAtomically(target, std::vector<std::uint8_t>{4, 5});
    EXPECT_EQ(readFile(target), (std::vector<std::uint8_t>{4, 5}));
    EXPECT_EQ(entries(), std::vector<fs::path>{"out.bin"});
}

// The message of a failed write, or "" when it did not fail.
std::string writeFailure(const fs::path& target) {
    try {
        writeFileAtomically(target, std::vector<std::uint8_t>{1});
    } catch (const IoError& e) {
        return e.what();
    }
    return {};
}

TEST_F(FilesTest, FailedWriteKeepsWhatWasThereAndNamesItsCause) {
    // A folder stands where the file should go: the rename fails after the data were written,
    // and the message gives the rename's reason, not that of the clean-up after it.
    const fs::path target = dir / "taken.phd";
    fs::create_directories(target / "inside");
    const std::string message = writeFailure(target);
    EXPECT_EQ(message, "Cannot write \"" + target.string() + "\": " + std::generic_category().message(EISDIR));
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(entries(), std::vector<fs::path>{"taken.phd"});
    // A folder that does not exist: nothing can be created.
    EXPECT_NE(writeFailure(dir / "missing" / "x.bin").find(std::generic_category().message(ENOENT)), std::string::npos);
}

#if defined(__linux__)
// Takes from this thread the rights that let a privileged user (root) write into any folder
// whatever its permission bits, and gives them back at the end.
class FolderPermissionsApply {
public:
    FolderPermissionsApply() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            reduced[cap / 32].effective &= ~(1u << (cap % 32));
        dropped_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~FolderPermissionsApply() {
        if (dropped_) syscall(SYS_capset, &header_, saved_);
    }
    FolderPermissionsApply(const FolderPermissionsApply&) = delete;
    FolderPermissionsApply& operator=(const FolderPermissionsApply&) = delete;

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool dropped_ = false;
};

TEST_F(FilesTest, WriteIntoAReadOnlyFolderNamesItsCause) {
    const fs::path folder = dir / "read-only";
    fs::create_directories(folder);
    writeFileAtomically(folder / "level.phd", std::vector<std::uint8_t>{7, 7});
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    std::string message;
    bool folderRefusedWrites = false;
    {
        // Root writes into a read-only folder unless it gives up that right for the test.
        const FolderPermissionsApply permissionsApply;
        errno = 0;
        const int probe = ::open((folder / "probe").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (probe >= 0) {
            ::close(probe);
            ::unlink((folder / "probe").c_str());
        } else {
            folderRefusedWrites = errno == EACCES;
            message = writeFailure(folder / "level.phd");
        }
    }
    fs::permissions(folder, fs::perms::owner_all);
    if (!folderRefusedWrites) GTEST_SKIP() << "this process may write into read-only folders";
    EXPECT_EQ(message, "Cannot create \"" + (folder / "level.phd").string() +
                           "\": " + std::generic_category().message(EACCES));
    EXPECT_EQ(readFile(folder / "level.phd"), (std::vector<std::uint8_t>{7, 7}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}
#endif

// A name stored as Windows-1250 bytes names the file with those characters, and the file opens,
// is written and read, and is named in messages as the same text in UTF-8.
TEST_F(FilesTest, NonAsciiNamesOpenAndAreNamedInUtf8) {
    const fs::path stored = pathFromBytes(pathText(dir) + "/\xB3\xB9ka \x8Ci\xEA.bin");  // "łąka Śię.bin"
    EXPECT_EQ(pathText(stored.filename()), "\xC5\x82\xC4\x85ka \xC5\x9Ai\xC4\x99.bin");
    writeFileAtomically(stored, std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_EQ(entries(), std::vector<fs::path>{stored.filename()});
    {
        FileHandle f = openFile(stored, "rb");
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(std::fgetc(f.get()), 1);
        EXPECT_TRUE(closeFile(f));
        EXPECT_EQ(f, nullptr);
        EXPECT_TRUE(closeFile(f));  // closing a closed handle does nothing
    }
    {
        FileHandle f = openFile(stored, "ab");
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(std::fputc(4, f.get()), 4);
    }  // closed by the handle
    EXPECT_EQ(readFile(stored), (std::vector<std::uint8_t>{1, 2, 3, 4}));

    errno = 0;
    EXPECT_EQ(openFile(dir / "absent \xC5\x82.bin", "rb"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    try {
        readFile(pathFromBytes(pathText(dir) + "/brak \xB3.bin"));
        ADD_FAILURE() << "read a missing file";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open \"" + pathText(dir) + "/brak \xC5\x82.bin\"", 0), 0u) << e.what();
    }
}

TEST_F(FilesTest, ReadFileAndDataFileLookup) {
    EXPECT_THROW(readFile(dir / "absent"), IoError);
    EXPECT_FALSE(fileExists(dir / "absent"));
    EXPECT_FALSE(fileExists(dir));  // a folder is not a file

    // <prefix>/bin is the program's folder; installed data lie in <prefix>/share/cairnwork.
    fs::create_directories(dir / "bin");
    fs::create_directories(dir / "share" / "cairnwork");
    std::ofstream(dir / "share" / "cairnwork" / "floor.dat") << "x";
    EXPECT_EQ(findDataFile(dir / "bin", "floor.dat"), (dir / "share" / "cairnwork" / "floor.dat").lexically_normal());
    std::ofstream(dir / "bin" / "floor.dat") << "y";
    EXPECT_EQ(findDataFile(dir / "bin", "floor.dat"), dir / "bin" / "floor.dat");
    EXPECT_EQ(findDataFile(dir / "bin", "paleta.bmp"), dir / "bin" / "paleta.bmp");
}

TEST(Cp1250, PolishLettersRoundTrip) {
    const std::string utf8 = "Długość ŚŻŹĆŃ ąęółźż €";
    const std::string bytes = utf8ToCp1250(utf8);
    EXPECT_EQ(bytes.size(), 22u);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[1]), 0xB3);  // ł
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[21]), 0x80);  // €
    EXPECT_EQ(cp1250ToUtf8(bytes), utf8);
    EXPECT_EQ(utf8ToCp1250("日本"), "??");
    EXPECT_EQ(utf8ToCp1250(std::string("a\xC3", 2)), "a?");  // cut inside a character
    EXPECT_EQ(cp1250ToUtf8("\x81"), "\xEF\xBF\xBD");         // undefined byte
}

TEST(Cp1250, FitsTellsWhetherEveryCharacterIsKept) {
    const std::pair<const char*, bool> cases[] = {
        {"/levels/łazienka Żółć €.phd", true}, {"what?.phd", true},  {"", true},
        {"/levels/ванна.phd", false},          {"snow ☃.phd", false}, {"a\xC3", false},  // cut inside a character
        {"😀", false},
    };
    for (const auto& [text, fits] : cases) EXPECT_EQ(fitsCp1250(text), fits) << text;
}

TEST(PString, CutsToCapacityAndKeepsPaddingZero) {
    PString<5> s;
    s = "abcdefgh";
    EXPECT_EQ(s.length, 5);
    EXPECT_EQ(s.view(), "abcde");
    s = "xy";
    EXPECT_EQ(s.view(), "xy");
    EXPECT_EQ(s.chars[2], 0);  // nothing of the longer text left behind
    s.length = 200;            // a length byte past the capacity never reads past the field
    EXPECT_EQ(s.view().size(), 5u);
}

}  // namespace
}  // namespace cw

namespace cw {
namespace {

// The same reads from a file (through its buffer) and from the same bytes in memory give the
// same values, across buffer boundaries and with reads larger than the buffer.
TEST(ByteReaderFile, ReadsLikeTheSpanAcrossBufferBoundaries) {
    std::vector<std::uint8_t> bytes(300000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::uint8_t(i * 7 + i / 251);
    const fs::path path = fs::temp_directory_path() / "cw_byte_reader_file.bin";
    writeFileAtomically(path, bytes);
    const FileHandle f = openFile(path, "rb");
    ASSERT_NE(f, nullptr);
    ByteReader file(f.get(), bytes.size(), "File");
    ByteReader span(bytes, "Span");
    // Small reads up to just before the first buffer boundary, reads across it, a read larger
    // than the buffer, a take across a boundary, a skip and a seek back into the window.
    const std::vector<std::size_t> steps = {65530, 4, 2, 1, 9, 70000, 3, 65536, 1};
    for (std::size_t n : steps) {
        std::vector<std::uint8_t> a(n), b(n);
        file.read(a.data(), n);
        span.read(b.data(), n);
        ASSERT_EQ(a, b) << "read of " << n << " at " << span.position();
        ASSERT_EQ(file.position(), span.position());
    }
    EXPECT_EQ(file.u32(), span.u32());
    const auto ta = file.take(80000);
    const auto tb = span.take(80000);
    EXPECT_TRUE(std::equal(ta.begin(), ta.end(), tb.begin()));
    file.skip(5);
    span.skip(5);
    EXPECT_EQ(file.i16(), span.i16());
    file.seek(file.position() - 3);
    span.seek(span.position() - 3);
    EXPECT_EQ(file.u32(), span.u32());
    EXPECT_EQ(file.remaining(), span.remaining());
    EXPECT_THROW(file.skip(file.remaining() + 1), IoError);
    fs::remove(path);
}

// Bytes handed out by take stay as they were read while the reader goes on: through refills of
// its buffer, reads straight from the file and further takes, in file mode as in memory.
TEST(ByteReaderFile, TakenBytesStayValidWhileTheReaderGoesOn) {
    std::vector<std::uint8_t> bytes(400000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::uint8_t(i * 13 + i / 256);
    const fs::path path = fs::temp_directory_path() / "cw_byte_reader_take.bin";
    writeFileAtomically(path, bytes);
    const FileHandle f = openFile(path, "rb");
    ASSERT_NE(f, nullptr);
    ByteReader file(f.get(), bytes.size(), "File");
    ByteReader span(bytes, "Span");
    struct Taken {
        std::size_t at;
        std::span<const std::uint8_t> fromFile, fromSpan;
    };
    std::vector<Taken> taken;
    // Takes inside the buffer, across its end and larger than it, between reads of every size.
    const std::pair<std::size_t, std::size_t> steps[] = {
        {0, 16}, {65500, 100}, {10, 70000}, {3, 5}, {0, 80000}, {70000, 7}, {1, 65536}, {0, 12}};
    for (const auto& [skipped, n] : steps) {
        std::vector<std::uint8_t> sink(skipped);
        file.read(sink.data(), skipped);
        span.read(sink.data(), skipped);
        taken.push_back({span.position(), file.take(n), span.take(n)});
    }
    std::vector<std::uint8_t> rest(file.remaining());
    file.read(rest.data(), rest.size());
    for (const Taken& t : taken) {
        const std::span<const std::uint8_t> original(bytes.data() + t.at, t.fromSpan.size());
        EXPECT_TRUE(std::equal(t.fromFile.begin(), t.fromFile.end(), original.begin(), original.end()))
            << "bytes taken from the file at " << t.at << " changed";
        EXPECT_EQ(t.fromSpan.data(), original.data()) << "a take from memory is not copied";
    }
    fs::remove(path);
}

// Records read whole and taken apart give the bytes plain reads give: records inside the file
// reader's buffer, straddling its end (copied) and from memory.
TEST(ByteReaderFile, RecordsReadLikePlainReadsAcrossBufferBoundaries) {
    std::vector<std::uint8_t> bytes(200000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::uint8_t(i * 11 + i / 253);
    const fs::path path = fs::temp_directory_path() / "cw_byte_reader_records.bin";
    writeFileAtomically(path, bytes);
    const FileHandle f = openFile(path, "rb");
    ASSERT_NE(f, nullptr);
    ByteReader file(f.get(), bytes.size(), "File");
    ByteReader records(bytes, "Span");
    ByteReader plain(bytes, "Span");
    // 102-byte records from 0 on cross the first buffer end inside a record; from memory too.
    while (plain.remaining() >= 102) {
        const std::size_t at = plain.position();
        auto a = file.record<102>();
        auto b = records.record<102>();
        const std::uint8_t u8 = plain.u8();
        const std::int32_t i32 = plain.i32();
        const std::uint16_t u16 = plain.u16();
        std::array<std::uint8_t, 95> rest{};
        plain.read(rest.data(), rest.size());
        for (auto* r : {&a, &b}) {
            ASSERT_EQ(r->u8(), u8) << "record at " << at;
            ASSERT_EQ(r->i32(), i32) << "record at " << at;
            ASSERT_EQ(r->u16(), u16) << "record at " << at;
            const auto taken = r->take(95);
            ASSERT_TRUE(std::equal(taken.begin(), taken.end(), rest.begin(), rest.end())) << "record at " << at;
            EXPECT_EQ(r->remaining(), 0u);
        }
        ASSERT_EQ(file.position(), plain.position());
    }
    // A record never reads past its own bytes, and a short input refuses the whole record.
    auto last = records.record<2>();
    EXPECT_THROW(last.i32(), std::logic_error);
    EXPECT_THROW(file.record<200>(), IoError);
    fs::remove(path);
}

TEST(ByteReaderFile, AFileShorterThanItsSizeEndsEarly) {
    const std::vector<std::uint8_t> bytes(100000, 1);
    const fs::path path = fs::temp_directory_path() / "cw_byte_reader_short.bin";
    writeFileAtomically(path, bytes);
    for (std::size_t first : {std::size_t{10}, std::size_t{99990}}) {
        const FileHandle f = openFile(path, "rb");
        ASSERT_NE(f, nullptr);
        ByteReader file(f.get(), 200000, "File");  // the size it was said to have
        std::vector<std::uint8_t> sink(first);
        file.read(sink.data(), first);
        std::vector<std::uint8_t> rest(150000);
        EXPECT_THROW(file.read(rest.data(), rest.size()), IoError);
    }
    fs::remove(path);
}

}  // namespace
}  // namespace cw
