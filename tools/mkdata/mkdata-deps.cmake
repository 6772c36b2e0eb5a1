# Extra libraries of the data generator: cairo draws the pictures, fontconfig finds their faces,
# libjpeg writes the end screen.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZR_CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(ZR_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(ZR_JPEG REQUIRED IMPORTED_TARGET libjpeg)
target_link_libraries(zindo-mkdata PRIVATE PkgConfig::ZR_CAIRO PkgConfig::ZR_FONTCONFIG PkgConfig::ZR_JPEG)
