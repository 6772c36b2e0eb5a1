# Extra libraries of the data generator: cairo draws the pictures, libjpeg writes the end screen.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZR_CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(ZR_JPEG REQUIRED IMPORTED_TARGET libjpeg)
target_link_libraries(zindo-mkdata PRIVATE PkgConfig::ZR_CAIRO PkgConfig::ZR_JPEG)
