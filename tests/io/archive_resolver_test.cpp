#include "io/archive_resolver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <vexel/archive.h>
#include <vexel/error.h>
#include <vexel/files.h>

#include <lzo/lzo1x.h>
#include <unistd.h>

#include "archive_writer.h"
#include "io/archive_format.h"
#include "io/file_layer.h"
#include "io/file_stream.h"
#include "io/virtual_files.h"
#include "support/allocation_probe.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::read_file;
using testing::ScopedTempDir;
using testing::write_file;

std::vector<uint8_t> bytes_of(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string text_of(const std::vector<uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// Content that compresses (repeats) followed by content that does not.
std::string sample_content(size_t size, unsigned seed) {
    std::string content;
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        content += i % 3000 < 1500 ? static_cast<char>('a' + i % 7) : static_cast<char>(seed >> 16);
    }
    return content;
}

// Everything a stream of that name holds.
std::string stream_content(const char* name) {
    FileStream stream;
    if (!stream.open_read(name)) return "<cannot open>";
    std::string content(static_cast<size_t>(stream.size_of()), '\0');
    if (!content.empty() && !stream.read(content.data(), static_cast<uint32_t>(content.size()))) {
        return "<short>";
    }
    return content;
}

std::string archive_with(const std::vector<vxpack::Entry>& entries,
                         const std::vector<uint8_t>& base = {}) {
    std::vector<uint8_t> archive;
    std::string error;
    EXPECT_TRUE(vxpack::build_archive(base, entries, &archive, &error)) << error;
    return text_of(archive);
}

void put_32(std::string* bytes, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i)
        (*bytes)[at + i] = static_cast<char>(value >> (8 * i));
}

class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        media_ = sample_content(70000, 1);
        font_ = sample_content(3000, 2);
    }

    std::vector<vxpack::Entry> entries() const {
        return {
            {"Media.bin", bytes_of(media_)}, {"smalfont.png", bytes_of(font_)}, {"empty.txt", {}}};
    }

    ScopedTempDir folder_;
    std::string media_;
    std::string font_;
};

TEST_F(ArchiveTest, StandaloneArchiveEntriesComeBackByteIdenticalToMemory) {
    write_file(folder_.file("game.vxa"), archive_with(entries()));
    set_archive(folder_.file("game.vxa").c_str(), "");
    DynString resolved;
    ASSERT_EQ(resolve_name("Media/MEDIA.BIN", resolved, true), 1);
    EXPECT_TRUE(is_memory_name(resolved.c_str()));
    EXPECT_EQ(stream_content(resolved.c_str()), media_);
    ASSERT_EQ(resolve_name("C:\\game\\smalfont.png", resolved, true), 1);
    EXPECT_EQ(stream_content(resolved.c_str()), font_);
    ASSERT_EQ(resolve_name("empty.txt", resolved, true), 1);
    EXPECT_EQ(stream_content(resolved.c_str()), "");
}

TEST_F(ArchiveTest, EntriesUnpackToANamedTemporaryFileThatGoesAtTheNextCall) {
    const std::string archive = archive_with(entries());
    write_file(folder_.file("game.vxa"), archive);
    set_archive(folder_.file("game.vxa").c_str(), "");
    std::vector<ArchiveEntry> directory;
    FileStream stream;
    ASSERT_TRUE(stream.open_read(folder_.file("game.vxa").c_str()));
    ASSERT_TRUE(read_archive_directory(stream, &directory));
    ASSERT_EQ(directory.size(), 3u);
    const ArchiveEntry& font = directory[1];

    DynString resolved;
    ASSERT_EQ(resolve_name("smalfont.png", resolved, false), 1);
    // In a folder of the temporary folder made for this run and for nobody else.
    const std::string path = resolved.c_str();
    const size_t slash = path.rfind('/');
    const std::string private_folder = path.substr(0, slash + 1);
    EXPECT_EQ(private_folder.rfind(folder_.path() + "vexel-", 0), 0u) << path;
    struct stat info;
    ASSERT_EQ(::lstat(private_folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    std::string expected = private_folder + "vov";
    expected += static_cast<char>('A' + (static_cast<uint32_t>(font.offset) & 0xff) % 26);
    expected += static_cast<char>('A' + (font.stored_size & 0xff) % 26);
    expected += "smalfont.png";
    EXPECT_EQ(path, expected);
    EXPECT_EQ(read_file(expected), font_);

    DynString next;
    EXPECT_EQ(resolve_name("not-there.png", next, false), 0);
    EXPECT_STREQ(next.c_str(), "not-there.png");
    EXPECT_EQ(file_exists(expected.c_str()), 0);
}

TEST_F(ArchiveTest, NamesPlantedInTheSharedTemporaryFolderAreNeitherUsedNorTouched) {
    const std::string archive = archive_with(entries());
    write_file(folder_.file("game.vxa"), archive);
    set_archive(folder_.file("game.vxa").c_str(), "");
    std::vector<ArchiveEntry> directory;
    FileStream stream;
    ASSERT_TRUE(stream.open_read(folder_.file("game.vxa").c_str()));
    ASSERT_TRUE(read_archive_directory(stream, &directory));
    // The names the unpacked entries would get directly in the temporary folder, taken by a
    // link to a file of the victim's and by a folder.
    auto foreseeable = [&](const ArchiveEntry& entry) {
        std::string name = folder_.path() + "vov";
        name += static_cast<char>('A' + (static_cast<uint32_t>(entry.offset) & 0xff) % 26);
        name += static_cast<char>('A' + (entry.stored_size & 0xff) % 26);
        return name + entry.name;
    };
    write_file(folder_.file("victim"), "victim");
    ASSERT_EQ(::symlink(folder_.file("victim").c_str(), foreseeable(directory[1]).c_str()), 0);
    ASSERT_EQ(::mkdir(foreseeable(directory[0]).c_str(), 0777), 0);

    DynString resolved;
    ASSERT_EQ(resolve_name("smalfont.png", resolved, false), 1);
    EXPECT_EQ(read_file(resolved.c_str()), font_);
    ASSERT_EQ(resolve_name("media.bin", resolved, false), 1);
    EXPECT_EQ(read_file(resolved.c_str()), media_);
    EXPECT_EQ(read_file(folder_.file("victim")), "victim");

    // Shutting the file layer down removes the private folder with what it holds.
    const std::string path = resolved.c_str();
    release_archive_states();
    struct stat info;
    EXPECT_NE(::lstat(path.substr(0, path.rfind('/')).c_str(), &info), 0);
}

TEST_F(ArchiveTest, DotsInsideANameAreOrdinaryCharacters) {
    const std::vector<std::string> names = {"lvl..1.txt", "..hidden", "end..", "..."};
    std::vector<vxpack::Entry> packed;
    for (const std::string& name : names)
        packed.push_back({name, bytes_of("content of " + name)});
    write_file(folder_.file("dots.vxa"), archive_with(packed));
    set_archive(folder_.file("dots.vxa").c_str(), "");
    for (const std::string& name : names) {
        DynString resolved;
        ASSERT_EQ(resolve_name(("Media/" + name).c_str(), resolved, true), 1) << name;
        EXPECT_EQ(stream_content(resolved.c_str()), "content of " + name);
        ASSERT_EQ(resolve_name(name.c_str(), resolved, false), 1) << name;
        EXPECT_EQ(read_file(resolved.c_str()), "content of " + name);
    }
}

TEST_F(ArchiveTest, MemoryNameGoesStaleAtTheNextCallButAnOpenChannelKeepsReading) {
    write_file(folder_.file("game.vxa"), archive_with(entries()));
    set_archive(folder_.file("game.vxa").c_str(), "");
    ASSERT_EQ(open_file(0, "media.bin", 1), 1);
    DynString first;
    ASSERT_EQ(resolve_name("media.bin", first, true), 1);
    DynString second;
    ASSERT_EQ(resolve_name("smalfont.png", second, true), 1);
    FileStream stale;
    EXPECT_FALSE(stale.open_read(first.c_str()));
    DynString head;
    read_bytes(0, head, 10);
    EXPECT_EQ(std::string(head.c_str(), head.length()), media_.substr(0, 10));
}

TEST_F(ArchiveTest, DiskFileIsPreferredAndNamesWithoutArchiveAreNotFound) {
    write_file(folder_.file("game.vxa"), archive_with(entries()));
    write_file(folder_.file("smalfont.png"), "on disk");
    DynString resolved;
    EXPECT_EQ(resolve_name(folder_.file("smalfont.png").c_str(), resolved, true), 1);
    EXPECT_STREQ(resolved.c_str(), folder_.file("smalfont.png").c_str());
    EXPECT_EQ(resolve_name("Media.bin", resolved, true), 0);
    set_archive(folder_.file("game.vxa").c_str(), "");
    EXPECT_EQ(resolve_name("Media.bin", resolved, true), 1);
    EXPECT_EQ(resolve_name(folder_.path().c_str(), resolved, true), 0);
    EXPECT_EQ(resolve_name("", resolved, true), 0);
}

TEST_F(ArchiveTest, ArchiveAppendedToAProgramIsFoundThroughTheExecutableHook) {
    const std::string program(12345, '\x7f');
    write_file(folder_.file("game"), archive_with(entries(), bytes_of(program)));
    open_executable_archive(folder_.file("game").c_str());
    DynString resolved;
    ASSERT_EQ(resolve_name("media.bin", resolved, true), 1);
    EXPECT_EQ(stream_content(resolved.c_str()), media_);
    ASSERT_TRUE(resolve_video_name("smalfont.png", resolved));
    EXPECT_EQ(read_file(resolved.c_str()), font_);
    const std::string temp = resolved.c_str();
    release_archive_states();
    EXPECT_EQ(file_exists(temp.c_str()), 0);
    EXPECT_EQ(resolve_name("media.bin", resolved, true), 0);
}

TEST_F(ArchiveTest, ArchiveHeldInMemoryIsRead) {
    const std::string archive = archive_with(entries());
    MemoryFile memory(archive.data(), static_cast<uint32_t>(archive.size()));
    set_archive(memory.name().c_str(), "");
    DynString resolved;
    ASSERT_EQ(resolve_name("smalfont.png", resolved, true), 1);
    EXPECT_EQ(stream_content(resolved.c_str()), font_);
}

TEST_F(ArchiveTest, SetArchiveReleasesWhatBothStatesHold) {
    write_file(folder_.file("game.vxa"), archive_with(entries()));
    set_archive(folder_.file("game.vxa").c_str(), folder_.file("game.vxa").c_str());
    DynString loading;
    DynString video;
    ASSERT_EQ(resolve_name("media.bin", loading, false), 1);
    ASSERT_TRUE(resolve_video_name("empty.txt", video));
    set_archive("", "");
    EXPECT_EQ(file_exists(loading), 0);
    EXPECT_EQ(file_exists(video), 0);
}

TEST_F(ArchiveTest, RegisteredMemoryNameResolvesToItselfAndUnknownHandleIsNotFound) {
    const char bytes[] = "abc";
    MemoryFile memory(bytes, 3);
    DynString resolved;
    EXPECT_EQ(resolve_name(memory.name().c_str(), resolved, true), 1);
    EXPECT_STREQ(resolved.c_str(), memory.name().c_str());
    EXPECT_EQ(resolve_name("mem://       3.  abcdef", resolved, true), 0);
    EXPECT_EQ(open_file(0, "mem://       3.  abcdef", 1), 0);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(file_size("mem://       3.  abcdef"), 0);
}

TEST_F(ArchiveTest, OlderTrailerMarkIsAccepted) {
    std::string archive = archive_with(entries());
    archive.replace(archive.size() - 7, 3, "\x73\x62\x58");
    write_file(folder_.file("old.vxa"), archive);
    set_archive(folder_.file("old.vxa").c_str(), "");
    DynString resolved;
    ASSERT_EQ(resolve_name("smalfont.png", resolved, true), 1);
    EXPECT_EQ(stream_content(resolved.c_str()), font_);
}

// Damage to an archive gives "not found", never a crash or a huge allocation.
class CorruptArchiveTest : public ArchiveTest {
protected:
    // Offsets inside a one-entry standalone archive of "a.txt".
    void SetUp() override {
        ArchiveTest::SetUp();
        good_ = archive_with({{"a.txt", bytes_of(font_)}});
        directory_ = static_cast<size_t>(static_cast<uint8_t>(good_[good_.size() - 4])) |
                     static_cast<size_t>(static_cast<uint8_t>(good_[good_.size() - 3])) << 8;
    }

    bool found(const std::string& archive) {
        write_file(folder_.file("bad.vxa"), archive);
        set_archive(folder_.file("bad.vxa").c_str(), "");
        DynString resolved;
        const bool in_memory = resolve_name("a.txt", resolved, true) == 1;
        const bool on_disk = resolve_name("a.txt", resolved, false) == 1;
        EXPECT_EQ(in_memory, on_disk);
        return in_memory;
    }

    std::string good_;
    size_t directory_ = 0;
};

TEST_F(CorruptArchiveTest, IntactArchiveIsFound) {
    EXPECT_TRUE(found(good_));
}

TEST_F(CorruptArchiveTest, MissingOrBrokenTrailer) {
    EXPECT_FALSE(found(""));
    EXPECT_FALSE(found("voV"));
    EXPECT_FALSE(found(good_.substr(0, good_.size() - 1)));
    std::string bad = good_;
    bad[bad.size() - 7] = 'x';
    EXPECT_FALSE(found(bad));
}

TEST_F(CorruptArchiveTest, DirectoryOffsetOutsideTheFile) {
    std::string bad = good_;
    put_32(&bad, bad.size() - 4, static_cast<int32_t>(bad.size()));
    EXPECT_FALSE(found(bad));
    put_32(&bad, bad.size() - 4, -static_cast<int32_t>(bad.size()) - 1);
    EXPECT_FALSE(found(bad));
    put_32(&bad, bad.size() - 4, INT32_MIN);
    EXPECT_FALSE(found(bad));
}

TEST_F(CorruptArchiveTest, DirectoryWithoutItsEnd) {
    std::string bad = good_;
    bad[bad.size() - 8] = 5;  // the terminating zero now claims a name running into the trailer
    EXPECT_FALSE(found(bad));
}

TEST_F(CorruptArchiveTest, DataOffsetOrSizeOutsideTheFile) {
    const size_t offset_field = directory_ + 1 + 5;
    std::string bad = good_;
    put_32(&bad, offset_field, static_cast<int32_t>(good_.size()));
    EXPECT_FALSE(found(bad));
    put_32(&bad, offset_field, -1);
    EXPECT_FALSE(found(bad));
    bad = good_;
    put_32(&bad, offset_field + 4, 0x7fffffff);
    EXPECT_FALSE(found(bad));
    put_32(&bad, offset_field + 4, 3);
    EXPECT_FALSE(found(bad));
}

TEST_F(CorruptArchiveTest, UnpackedSizeAboveTheLimitOrWrong) {
    std::string bad = good_;
    put_32(&bad, 0, static_cast<int32_t>(kMaxUnpackedSize + 1));
    EXPECT_FALSE(found(bad));
    put_32(&bad, 0, -1);
    EXPECT_FALSE(found(bad));
    put_32(&bad, 0, static_cast<int32_t>(font_.size() + 1));
    EXPECT_FALSE(found(bad));
    put_32(&bad, 0, static_cast<int32_t>(font_.size() - 1));
    EXPECT_FALSE(found(bad));
}

TEST_F(CorruptArchiveTest, ClaimsTheCompressedBytesCannotReachAreNeverAllocated) {
    const size_t packed = directory_ - 4;
    std::string bad = good_;
    for (const uint32_t claim : {kMaxUnpackedSize, static_cast<uint32_t>(packed * 256 + 1)}) {
        put_32(&bad, 0, static_cast<int32_t>(claim));
        testing::reset_largest_nothrow_array();
        EXPECT_FALSE(found(bad)) << claim;
        EXPECT_LT(testing::largest_nothrow_array(), packed + 64) << claim;
    }
}

TEST(ArchiveFormat, TheUnpackedSizeBoundHoldsForTheDensestData) {
    ASSERT_EQ(lzo_init(), LZO_E_OK);
    // Long runs of one byte pack most densely; both the fast and the strongest compressor.
    std::vector<uint8_t> work(LZO1X_999_MEM_COMPRESS);
    for (const size_t size : {size_t{300}, size_t{70000}, size_t{4} << 20}) {
        const std::vector<uint8_t> zeros(size, 0);
        std::vector<uint8_t> packed(size + size / 16 + 64 + 3);
        lzo_uint fast = 0;
        lzo_uint strong = 0;
        ASSERT_EQ(lzo1x_1_compress(zeros.data(), size, packed.data(), &fast, work.data()),
                  LZO_E_OK);
        ASSERT_EQ(lzo1x_999_compress(zeros.data(), size, packed.data(), &strong, work.data()),
                  LZO_E_OK);
        for (const lzo_uint packed_size : {fast, strong})
            EXPECT_LE(size, max_unpacked_size(static_cast<uint32_t>(packed_size))) << size;
        // Close to what real data reaches: not a blanket allowance.
        if (size > 70000) {
            EXPECT_GT(size, max_unpacked_size(static_cast<uint32_t>(fast)) * 4 / 5);
        }
    }
}

TEST_F(CorruptArchiveTest, CompressedBytesThatDoNotDecode) {
    std::string bad = good_;
    for (size_t i = 4; i < directory_; ++i)
        bad[i] = static_cast<char>(0xff - i);
    EXPECT_FALSE(found(bad));
}

TEST_F(CorruptArchiveTest, EntryNamesThatCouldLeaveTheTemporaryFolderAreNeverUsed) {
    for (const char* name : {"../a.txt", "x/a.txt", "x\\a.txt", ".."}) {
        std::string bad = archive_with({{"aaaaaaaaaa", bytes_of(font_)}});
        const size_t at = bad.find("aaaaaaaaaa", bad.size() - 40);
        ASSERT_NE(at, std::string::npos);
        bad.replace(at - 1, 11, std::string(1, static_cast<char>(std::strlen(name))) + name);
        write_file(folder_.file("evil.vxa"), bad);
        set_archive(folder_.file("evil.vxa").c_str(), "");
        DynString resolved;
        EXPECT_EQ(resolve_name(name, resolved, false), 0) << name;
        EXPECT_EQ(resolve_name("a.txt", resolved, false), 0) << name;
        EXPECT_EQ(resolve_name("..", resolved, false), 0) << name;
    }
    EXPECT_EQ(file_exists((folder_.path() + "../a.txt").c_str()), 0);
}

TEST(ArchiveWriter, RefusesNamesTheResolverCouldNotUse) {
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(vxpack::build_archive({}, {{"", {}}}, &out, &error));
    EXPECT_FALSE(vxpack::build_archive({}, {{std::string(256, 'n'), {}}}, &out, &error));
    EXPECT_FALSE(vxpack::build_archive({}, {{"a/b", {}}}, &out, &error));
    EXPECT_FALSE(vxpack::build_archive({}, {{"..", {}}}, &out, &error));
    EXPECT_TRUE(vxpack::build_archive({}, {{"..x", {}}, {"lvl..1.txt", {}}}, &out, &error));
    EXPECT_FALSE(vxpack::build_archive({}, {{"A.png", {}}, {"a.PNG", {}}}, &out, &error));
    EXPECT_TRUE(vxpack::build_archive({}, {{std::string(255, 'n'), {1, 2}}}, &out, &error));
}

// The command-line tool, end to end.
class VxpackTool : public ArchiveTest {
protected:
    int run(const std::string& arguments) {
        const std::string command = std::string(VEXEL_VXPACK_PATH) + " " + arguments + " > " +
                                    folder_.file("tool.out") + " 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(VxpackTool, PacksFilesThatResolveByteIdentical) {
    write_file(folder_.file("Media.bin"), media_);
    ::mkdir(folder_.file("fonts").c_str(), 0777);
    write_file(folder_.file("fonts/smalfont.png"), font_);
    ASSERT_EQ(run(folder_.file("game.vxa") + " " + folder_.file("Media.bin") + " " +
                  folder_.file("fonts/smalfont.png")),
              0);
    ASSERT_EQ(run("--list " + folder_.file("game.vxa")), 0);
    const std::string listing = read_file(folder_.file("tool.out"));
    EXPECT_NE(listing.find("70000  Media.bin"), std::string::npos) << listing;
    EXPECT_NE(listing.find("3000  smalfont.png"), std::string::npos) << listing;

    ::unlink(folder_.file("Media.bin").c_str());
    set_archive(folder_.file("game.vxa").c_str(), "");
    DynString resolved;
    ASSERT_EQ(resolve_name("Media.bin", resolved, true), 1);
    EXPECT_EQ(stream_content(resolved.c_str()), media_);
    ASSERT_EQ(resolve_name("SMALFONT.PNG", resolved, false), 1);
    EXPECT_EQ(read_file(resolved.c_str()), font_);
}

TEST_F(VxpackTool, AppendsToAProgramThatStillRuns) {
    write_file(folder_.file("smalfont.png"), font_);
    ASSERT_EQ(run("--onto /bin/true " + folder_.file("game") + " " + folder_.file("smalfont.png")),
              0);
    EXPECT_EQ(std::system(folder_.file("game").c_str()), 0);
    ::unlink(folder_.file("smalfont.png").c_str());
    open_executable_archive(folder_.file("game").c_str());
    DynString resolved;
    ASSERT_EQ(resolve_name("smalfont.png", resolved, true), 1);
    EXPECT_EQ(stream_content(resolved.c_str()), font_);
    // A program that already carries an archive is refused.
    write_file(folder_.file("more.txt"), "more");
    EXPECT_EQ(run("--onto " + folder_.file("game") + " " + folder_.file("game2") + " " +
                  folder_.file("more.txt")),
              1);
}

TEST_F(VxpackTool, ReportsBadInput) {
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run(folder_.file("out.vxa") + " " + folder_.file("missing")), 1);
    EXPECT_EQ(file_exists(folder_.file("out.vxa").c_str()), 0);
    write_file(folder_.file("plain"), "not an archive");
    EXPECT_EQ(run("--list " + folder_.file("plain")), 1);
}

}  // namespace
}  // namespace vexel
