# cmake -DMANIFEST=build/install_manifest.txt [-DDESTDIR=/stage] -P tools/uninstall.cmake
# (make uninstall): removes every file the last `make install` listed (under DESTDIR when it
# was staged: the list names the files as installed, without it), then the game folder's own
# folders once empty. The player's saved files (in the player's data folder) are left alone.
if(NOT MANIFEST OR NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "uninstall: ${MANIFEST} not found; it is written by make install")
endif()
file(STRINGS "${MANIFEST}" installed)
set(removed 0)
set(folders "")
foreach(f IN LISTS installed)
  set(f "${DESTDIR}${f}")
  if(IS_SYMLINK "${f}" OR EXISTS "${f}")
    file(REMOVE "${f}")
    math(EXPR removed "${removed} + 1")
  endif()
  get_filename_component(dir "${f}" DIRECTORY)
  list(APPEND folders "${dir}")
endforeach()
# Deepest first, so that a folder emptied by its children's removal goes as well; only the
# folders of the game's own (.../lib/zindorumba and below), never shared ones.
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
foreach(dir IN LISTS folders)
  while(dir MATCHES "/lib/zindorumba(/|$)" AND IS_DIRECTORY "${dir}")
    file(GLOB left LIST_DIRECTORIES true "${dir}/*" "${dir}/.*")
    if(left)
      break()
    endif()
    file(REMOVE_RECURSE "${dir}")  # empty, as just seen
    get_filename_component(dir "${dir}" DIRECTORY)
  endwhile()
endforeach()
list(LENGTH installed listed)
message("uninstalled ${removed} of the ${listed} files listed in ${MANIFEST}")
