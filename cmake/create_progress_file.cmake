# Creates the player's progress file holding "1" where none exists yet. An existing file is the
# player's progress and is never touched, whatever it holds.
if(NOT DEFINED PROGRESS_FILE)
  message(FATAL_ERROR "PROGRESS_FILE is not set")
endif()
if(NOT EXISTS "${PROGRESS_FILE}" AND NOT IS_SYMLINK "${PROGRESS_FILE}")
  file(WRITE "${PROGRESS_FILE}" "1")
endif()
