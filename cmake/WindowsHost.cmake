# knotwell-host.exe: the headless host and its tool for 64-bit Windows, so
# the .aex files of this build can be run for real (under Wine here). One
# statically linked program that imports only system DLLs, the same bytes
# from any build folder.

# nlohmann-json and CLI11 are header-only: the cross compiler sees a folder
# holding just their headers, never the build machine's whole /usr/include,
# whose C library would shadow mingw's.
set(KNOTWELL_HEADER_ONLY_INCLUDE_DIR /usr/include CACHE PATH
    "Folder holding nlohmann/ and CLI/ of the header-only libraries")
set(header_only_dir ${CMAKE_BINARY_DIR}/header_only)
file(MAKE_DIRECTORY ${header_only_dir})

# knotwell_header_only(<target> <folder>): <target> for the headers under
# <folder> of KNOTWELL_HEADER_ONLY_INCLUDE_DIR.
function(knotwell_header_only target folder)
  set(headers ${KNOTWELL_HEADER_ONLY_INCLUDE_DIR}/${folder})
  if(NOT IS_DIRECTORY ${headers})
    message(FATAL_ERROR "${target} needs ${headers}")
  endif()
  file(CREATE_LINK ${headers} ${header_only_dir}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${header_only_dir})
endfunction()

knotwell_header_only(nlohmann_json::nlohmann_json nlohmann)
knotwell_header_only(CLI11::CLI11 CLI)

# From here on only the host's targets are made; the plug-ins above keep
# their own flags. The build folder's map comes last so that it wins for
# the sources generated into it (Duktape's copy).
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)

add_subdirectory(resources)
add_subdirectory(headless_host)

target_link_options(knotwell-host PRIVATE
  -static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
