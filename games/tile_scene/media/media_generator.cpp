// tile_media FOLDER: writes the tile scene's water texture and tile meshes into FOLDER.
#include <cstdio>
#include <string>

#include "media_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tile_media FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '/') folder += '/';
    std::string failed;
    if (!tile_media::write_tile_media(folder, failed)) {
        std::fprintf(stderr, "tile_media: cannot write %s\n", failed.c_str());
        return 1;
    }
    return 0;
}
