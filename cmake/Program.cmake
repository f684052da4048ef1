# The program itself: app/, startup/, layout/ and its compiled resources. It
# sees only the framework's and the platform's system headers.
file(GLOB CORVALE_PROGRAM_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/startup/*.cpp ${CMAKE_SOURCE_DIR}/layout/*.cpp)
if(CORVALE_PROGRAM_SOURCES)
  # Objects, not an archive: nothing refers to the application object by name,
  # yet it must be in every executable of the program.
  add_library(corvale_program OBJECT ${CORVALE_PROGRAM_SOURCES})
  target_include_directories(corvale_program PUBLIC ${CMAKE_SOURCE_DIR}/app ${CMAKE_SOURCE_DIR}/startup
    ${CMAKE_SOURCE_DIR}/layout ${CMAKE_SOURCE_DIR}/res)
  target_link_libraries(corvale_program PUBLIC corvale_framework corvale_platform)
  corvale_warnings(corvale_program)
endif()
