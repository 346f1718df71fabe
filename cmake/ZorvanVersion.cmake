# zorvan_version_record(TARGET VERSION a.b.c.d [PRODUCT_VERSION a.b.c.d]
#   [FLAGS n] [FLAG_MASK n] [STRINGS name value ...])
# Lays a version record into the binary of TARGET (section ".zorvan_version", read back
# by platform::readVersionRecord). The translation entry is Russian (0x0419) with UTF-8
# texts (code page 65001).
function(zorvan_version_record TARGET)
  cmake_parse_arguments(V "" "VERSION;PRODUCT_VERSION;FLAGS;FLAG_MASK" "STRINGS" ${ARGN})
  if(NOT V_PRODUCT_VERSION)
    set(V_PRODUCT_VERSION ${V_VERSION})
  endif()
  if(NOT V_FLAG_MASK)
    set(V_FLAG_MASK 0x3F)
  endif()
  if(NOT V_FLAGS)
    set(V_FLAGS 0)
  endif()
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${TARGET}_version_record.c")
  add_custom_command(OUTPUT "${out}"
    COMMAND version_record_tool "${out}" ${V_VERSION} ${V_PRODUCT_VERSION} ${V_FLAG_MASK}
            ${V_FLAGS} 0x0419 65001 ${V_STRINGS}
    DEPENDS version_record_tool
    COMMENT "Version record of ${TARGET}"
    VERBATIM)
  target_sources(${TARGET} PRIVATE "${out}")
endfunction()
