# Copies the sample game from content/ into the program folder (the build folder).
# The player's own files (the profile list and player files) are copied only when missing, so a
# rebuild never overwrites a player's collection, decks, tokens or won missions.
# Usage: cmake -DSOURCE=<content folder> -DTARGET=<program folder> -P copy_content.cmake
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
