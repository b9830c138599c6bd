// vxpack: packs media files into an archive the engine reads, on its own or appended to a game.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "io/archive_format.h"
#include "io/file_stream.h"

namespace {

constexpr char kUsage[] =
    "usage: vxpack [--onto PROGRAM] OUTPUT FILE...\n"
    "       vxpack --list ARCHIVE\n"
    "\n"
    "Packs each FILE, under its name without folders, into the archive OUTPUT.\n"
    "With --onto, OUTPUT is a copy of PROGRAM (mode bits kept) with the archive appended:\n"
    "a game built with Vexel then finds the packed files as if they lay beside it.\n"
    "OUTPUT may name PROGRAM itself. --list shows the entries of an archive.\n";

bool read_whole_file(const std::string& path, std::vector<uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string base_name(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Writes beside the output and renames over it, so a failure never leaves half an archive.
bool write_output(const std::string& path, const std::vector<uint8_t>& bytes, mode_t mode) {
    const std::string temp = path + ".vxpack-tmp";
    FILE* out = std::fopen(temp.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed || ::chmod(temp.c_str(), mode) != 0 ||
        std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

int list_archive(const char* path) {
    vexel::FileStream archive;
    if (!archive.open_read(path)) {
        std::fprintf(stderr, "vxpack: cannot open %s\n", path);
        return 1;
    }
    std::vector<vexel::ArchiveEntry> entries;
    if (!vexel::read_archive_directory(archive, &entries)) {
        std::fprintf(stderr, "vxpack: %s is not an archive (or it is damaged)\n", path);
        return 1;
    }
    std::printf("%12s %12s  %s\n", "stored", "unpacked", "name");
    for (const vexel::ArchiveEntry& entry : entries) {
        uint8_t size[4] = {};
        archive.seek(entry.data_start, 0);
        archive.read(size, 4);
        const uint32_t unpacked =
            size[0] | size[1] << 8 | size[2] << 16 | static_cast<uint32_t>(size[3]) << 24;
        std::printf("%12u %12u  %s\n", entry.stored_size, unpacked, entry.name.c_str());
    }
    return 0;
}

int pack(const std::string& program, const std::string& output, int count, char** files) {
    std::vector<uint8_t> base;
    mode_t mode = 0644;
    if (!program.empty()) {
        struct stat info;
        if (::stat(program.c_str(), &info) != 0 || !read_whole_file(program, &base)) {
            std::fprintf(stderr, "vxpack: cannot read %s\n", program.c_str());
            return 1;
        }
        mode = info.st_mode & 07777;
        vexel::FileStream stream;
        std::vector<vexel::ArchiveEntry> existing;
        if (stream.open_read(program.c_str()) && vexel::read_archive_directory(stream, &existing)) {
            std::fprintf(stderr,
                         "vxpack: %s already carries an archive; pack onto a fresh build of it\n",
                         program.c_str());
            return 1;
        }
    }
    std::vector<vxpack::Entry> entries;
    for (int i = 0; i < count; ++i) {
        vxpack::Entry entry;
        entry.name = base_name(files[i]);
        if (!read_whole_file(files[i], &entry.bytes)) {
            std::fprintf(stderr, "vxpack: cannot read %s\n", files[i]);
            return 1;
        }
        entries.push_back(std::move(entry));
    }
    std::vector<uint8_t> archive;
    std::string error;
    if (!vxpack::build_archive(base, entries, &archive, &error)) {
        std::fprintf(stderr, "vxpack: %s\n", error.c_str());
        return 1;
    }
    if (!write_output(output, archive, mode)) {
        std::fprintf(stderr, "vxpack: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--list") == 0) return list_archive(argv[2]);
    int first = 1;
    std::string program;
    if (argc > 2 && std::strcmp(argv[1], "--onto") == 0) {
        program = argv[2];
        first = 3;
    }
    if (argc - first < 2 || argv[first][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return pack(program, argv[first], argc - first - 1, argv + first + 1);
}
