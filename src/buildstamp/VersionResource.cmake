# railscope_version_resource(<target> [FIELD value]...)
# Generates the version resource of a program from the given string fields and adds it to
# the target. Fields not given are left out of the resource. Installed with the tbuildstamp
# package, for the programs that use it. The translation is UK English,
# code page 1252 (080904e4).
include_guard(GLOBAL)
function(railscope_version_resource target)
  set(RAILSCOPE_VERSION_FIELDS CompanyName FileDescription FileVersion InternalName LegalCopyright
      LegalTrademarks OriginalFilename ProductName ProductVersion Comments)
  set(RAILSCOPE_VERSION_TEMPLATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/VersionInfo.cpp.in)
  cmake_parse_arguments(PARSE_ARGV 1 RV "" "${RAILSCOPE_VERSION_FIELDS}" "")
  set(entries "")
  foreach(field IN LISTS RAILSCOPE_VERSION_FIELDS)
    if(DEFINED RV_${field})
      set(value "${RV_${field}}")
      string(REPLACE "\\" "\\\\" value "${value}")
      string(REPLACE "\"" "\\\"" value "${value}")
      string(APPEND entries "    ::rsver::Field{\"${field}\", \"${value}\"},\n")
    endif()
  endforeach()
  set(RAILSCOPE_VERSION_ENTRIES "${entries}")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_resource.cpp)
  configure_file(${RAILSCOPE_VERSION_TEMPLATE} ${out} @ONLY)
  target_sources(${target} PRIVATE ${out})
  # The resource is built at compile time with C++20 constexpr code.
  target_compile_features(${target} PRIVATE cxx_std_20)
endfunction()
