# Copies the sample game from content/ into the program folder.
# The player's own files (the profile list and player files) are copied only when missing, so a
# rebuild never overwrites a player's collection, decks, tokens or won missions.
# EARLIER, when given, is a folder that served as the program folder before: while the program
# folder has no profile list yet, the profile list and player files found there are carried over
# first, so that a player's profiles move with the program.
# Usage: cmake -DSOURCE=<content folder> -DTARGET=<program folder> [-DEARLIER=<folder>]
#              -P copy_content.cmake
if(DEFINED EARLIER AND NOT EXISTS "${TARGET}/PlayerProfiles.txt"
   AND EXISTS "${EARLIER}/PlayerProfiles.txt")
  file(GLOB players "${EARLIER}/*.plr")
  file(MAKE_DIRECTORY "${TARGET}")
  foreach(from IN LISTS players ITEMS "${EARLIER}/PlayerProfiles.txt")
    get_filename_component(name "${from}" NAME)
    if(NOT EXISTS "${TARGET}/${name}")
      file(COPY_FILE "${from}" "${TARGET}/${name}")
    endif()
  endforeach()
endif()

file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(relative IN LISTS files)
  set(to "${TARGET}/${relative}")
  get_filename_component(name "${relative}" NAME)
  if(EXISTS "${to}" AND (name STREQUAL "PlayerProfiles.txt" OR name MATCHES "\\.plr$"))
    continue()
  endif()
  get_filename_component(folder "${to}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${SOURCE}/${relative}" "${to}" ONLY_IF_DIFFERENT)
endforeach()
