cmake_minimum_required(VERSION 3.16)
# cmake -DMANIFEST=build/install_manifest.txt -DBEFORE=build/install_folders.before
#       -DFOLDERS=build/install_folders.txt [-DDESTDIR=/stage] -P tools/install-folders.cmake
# (make install, after the install): lists in FOLDERS every folder on the way to an installed
# file that was not there before it (BEFORE: the folders under the prefix before, one a line),
# for make uninstall to remove. Folders listed by an earlier install stay listed.
file(STRINGS "${MANIFEST}" installed)
set(before "")
if(EXISTS "${BEFORE}")
  file(STRINGS "${BEFORE}" before)
endif()
set(made "")
if(EXISTS "${FOLDERS}")
  file(STRINGS "${FOLDERS}" made)
endif()
foreach(f IN LISTS installed)
  get_filename_component(dir "${DESTDIR}${f}" DIRECTORY)
  while(NOT dir STREQUAL "/" AND NOT dir STREQUAL "" AND NOT dir IN_LIST before)
    list(APPEND made "${dir}")
    get_filename_component(dir "${dir}" DIRECTORY)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES made)
list(SORT made)
list(JOIN made "\n" text)
file(WRITE "${FOLDERS}" "${text}\n")
file(REMOVE "${BEFORE}")
