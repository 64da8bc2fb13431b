# Lays out the resource folder in the build tree: layouts, resources, the
# embedded default printer and the compiled string tables.
file(GLOB_RECURSE JC_BUNDLE_FILES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/bundle/layouts/* ${PROJECT_SOURCE_DIR}/bundle/resources/*
  ${PROJECT_SOURCE_DIR}/bundle/printer/*)
file(GLOB JC_PO_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bundle/po/*.po)
# The command line's messages: a catalogue of their own beside the panel's.
file(GLOB JC_CLI_PO_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/cli/*.po)

set(JC_BUNDLE_OUTPUTS)
foreach(src IN LISTS JC_BUNDLE_FILES)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/bundle ${src})
  get_filename_component(reldir ${rel} DIRECTORY)
  get_filename_component(name ${rel} NAME)
  # layouts/, resources/ and printer/ all land flat-by-folder under the bundle
  string(REGEX REPLACE "^resources/?" "" reldir "${reldir}")
  if(reldir STREQUAL "")
    set(dst ${JC_BUNDLE_DIR}/${name})
  else()
    set(dst ${JC_BUNDLE_DIR}/${reldir}/${name})
  endif()
  add_custom_command(OUTPUT ${dst} COMMAND ${CMAKE_COMMAND} -E copy ${src} ${dst}
    DEPENDS ${src} VERBATIM)
  list(APPEND JC_BUNDLE_OUTPUTS ${dst})
endforeach()

# Compiles <lang>.po into locale/<lang>/LC_MESSAGES/<domain>.mo of the bundle.
function(jc_add_catalogues domain)
  foreach(po IN LISTS ARGN)
    get_filename_component(lang ${po} NAME_WE)
    set(mo ${JC_BUNDLE_DIR}/locale/${lang}/LC_MESSAGES/${domain}.mo)
    add_custom_command(OUTPUT ${mo}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${JC_BUNDLE_DIR}/locale/${lang}/LC_MESSAGES
      COMMAND ${MSGFMT} --check -o ${mo} ${po}
      DEPENDS ${po} VERBATIM)
    list(APPEND JC_BUNDLE_OUTPUTS ${mo})
  endforeach()
  set(JC_BUNDLE_OUTPUTS ${JC_BUNDLE_OUTPUTS} PARENT_SCOPE)
endfunction()
jc_add_catalogues(jobcontrol ${JC_PO_FILES})
jc_add_catalogues(jobcontrol-cli ${JC_CLI_PO_FILES})

add_custom_target(jc_bundle ALL DEPENDS ${JC_BUNDLE_OUTPUTS})
