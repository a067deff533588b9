# knotwell_add_plugin_resources(<target> <name> <display name> <match name> <generation>)
#
# Gives a plug-in library its property list: natively as <name>.pipl beside
# the library, for the headless host; in a Windows cross-build as the
# "PIPL" resource next to the manifest, in a statically linked, reproducible
# .aex whose only export is EntryPointFunc.

set(KNOTWELL_RESOURCES_DIR ${PROJECT_SOURCE_DIR}/resources)

if(CMAKE_CROSSCOMPILING)
  enable_language(RC)
  set(KNOTWELL_PIPL_TOOL "" CACHE FILEPATH "knotwell_pipl built by the native build")
  if(NOT EXISTS "${KNOTWELL_PIPL_TOOL}")
    message(FATAL_ERROR "Cross-builds need the native property-list tool: build the native "
                        "tree first and pass -DKNOTWELL_PIPL_TOOL=<native build>/resources/knotwell_pipl")
  endif()
  set(KNOTWELL_PIPL_COMMAND "${KNOTWELL_PIPL_TOOL}")
else()
  set(KNOTWELL_PIPL_COMMAND knotwell_pipl)
endif()

# Runs the tool at build time; `output` is rebuilt when the tool changes.
function(knotwell_pipl_command output display_name match_name gen)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${KNOTWELL_PIPL_COMMAND} ${gen} "${display_name}" "${match_name}" ${output}
    DEPENDS ${KNOTWELL_PIPL_COMMAND}
    COMMENT "Property list of ${display_name} (${gen})"
    VERBATIM)
endfunction()

function(knotwell_add_plugin_resources target name display_name match_name gen)
  if(NOT CMAKE_CROSSCOMPILING)
    set(pipl ${CMAKE_BINARY_DIR}/plugins/${gen}/${name}.pipl)
    knotwell_pipl_command(${pipl} "${display_name}" "${match_name}" ${gen})
    add_custom_target(${target}_pipl DEPENDS ${pipl})
    add_dependencies(${target} ${target}_pipl)
    return()
  endif()

  set(pipl ${CMAKE_CURRENT_BINARY_DIR}/${target}.pipl)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set(manifest ${KNOTWELL_RESOURCES_DIR}/manifest.xml)
  knotwell_pipl_command(${pipl} "${display_name}" "${match_name}" ${gen})
  set(PIPL_FILE ${pipl})
  set(MANIFEST_FILE ${manifest})
  configure_file(${KNOTWELL_RESOURCES_DIR}/plugin.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${pipl};${manifest}")
  target_sources(${target} PRIVATE ${rc})

  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(file_name "${name}(64bit)")
  else()
    set(file_name "${name}")
  endif()
  set_target_properties(${target} PROPERTIES OUTPUT_NAME "${file_name}" SUFFIX ".aex")
  # No DLLs of the compiler's runtime next to the host, and the same bytes
  # from any build folder.
  target_compile_options(${target} PRIVATE
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -g0)
  target_link_options(${target} PRIVATE
    -static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
endfunction()
