# Lays out the resource folder in the build tree: layouts, resources, the
# embedded default printer and the compiled string tables.
file(GLOB_RECURSE JC_BUNDLE_FILES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/bundle/layouts/* ${PROJECT_SOURCE_DIR}/bundle/resources/*
  ${PROJECT_SOURCE_DIR}/bundle/printer/*)
file(GLOB JC_PO_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bundle/po/*.po)

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

foreach(po IN LISTS JC_PO_FILES)
  get_filename_component(lang ${po} NAME_WE)
  set(mo ${JC_BUNDLE_DIR}/locale/${lang}/LC_MESSAGES/jobcontrol.mo)
  add_custom_command(OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${JC_BUNDLE_DIR}/locale/${lang}/LC_MESSAGES
    COMMAND ${MSGFMT} --check -o ${mo} ${po}
    DEPENDS ${po} VERBATIM)
  list(APPEND JC_BUNDLE_OUTPUTS ${mo})
endforeach()

add_custom_target(jc_bundle ALL DEPENDS ${JC_BUNDLE_OUTPUTS})
