# knotwell_add_plugin(NAME <file name> DISPLAY_NAME <text> MATCH_NAME <text>
#                     SOURCES ... [LIBRARIES ...])
#
# Builds one plug-in from the frame and the effect's own sources: natively
# once per host interface generation (plugins/current, plugins/legacy), as a
# Windows .aex for the generation of the cross toolchain.

set(KNOTWELL_FRAME_SOURCES "" CACHE INTERNAL "")

if(CMAKE_CROSSCOMPILING)
  set(KNOTWELL_GENERATIONS ${KNOTWELL_INTERFACE})
else()
  set(KNOTWELL_GENERATIONS current legacy)
endif()

function(knotwell_add_plugin)
  cmake_parse_arguments(P "" "NAME;DISPLAY_NAME;MATCH_NAME" "SOURCES;LIBRARIES" ${ARGN})
  foreach(gen IN LISTS KNOTWELL_GENERATIONS)
    set(target ${P_NAME}_${gen})
    add_library(${target} MODULE ${P_SOURCES} ${KNOTWELL_FRAME_SOURCES})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE knotwell_warnings ${P_LIBRARIES})
    set_target_properties(${target} PROPERTIES
      PREFIX ""
      OUTPUT_NAME ${P_NAME}
      CXX_VISIBILITY_PRESET hidden
      VISIBILITY_INLINES_HIDDEN ON
      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins/${gen})
    target_compile_definitions(${target} PRIVATE KNOTWELL_DISPLAY_NAME="${P_DISPLAY_NAME}")
    if(gen STREQUAL "legacy")
      target_compile_definitions(${target} PRIVATE KNOTWELL_LEGACY_INTERFACE=1)
    endif()
    if(COMMAND knotwell_add_plugin_resources)
      knotwell_add_plugin_resources(${target} "${P_NAME}" "${P_DISPLAY_NAME}" "${P_MATCH_NAME}" ${gen})
    endif()
    set_property(GLOBAL APPEND PROPERTY KNOTWELL_PLUGIN_TARGETS ${target})
  endforeach()
endfunction()
