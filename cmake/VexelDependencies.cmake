# Every library the engine links, found once here so that subsystems never look for their own.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(SDL2 REQUIRED)
pkg_check_modules(LZO2 REQUIRED IMPORTED_TARGET lzo2)
