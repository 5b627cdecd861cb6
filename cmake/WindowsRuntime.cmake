# What a Windows program of this project needs beside it at run time, from
# the Windows prefix and the compiler: the Qt DLLs and plugins, OpenSSL and
# the mingw runtime. mirandel_windows_runtime copies them into the build's
# bin folder (so the tests run under Wine), and the package installs them.

set(MIRANDEL_WINDOWS_PREFIX "${MIRANDEL_WINDOWS_PREFIX}" CACHE PATH "Windows prefix with Qt 6, OpenSSL, pugixml")

set(MIRANDEL_RUNTIME_DLLS)
foreach(dll Qt6Core Qt6Gui Qt6Widgets Qt6Network Qt6Test)
  list(APPEND MIRANDEL_RUNTIME_DLLS "${MIRANDEL_WINDOWS_PREFIX}/bin/${dll}.dll")
endforeach()
foreach(dll libcrypto-3-x64 libssl-3-x64)
  if(EXISTS "${MIRANDEL_WINDOWS_PREFIX}/bin/${dll}.dll")
    list(APPEND MIRANDEL_RUNTIME_DLLS "${MIRANDEL_WINDOWS_PREFIX}/bin/${dll}.dll")
  endif()
endforeach()
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "The compiler does not know where ${dll} is (got '${path}')")
  endif()
  list(APPEND MIRANDEL_RUNTIME_DLLS "${path}")
endforeach()

# Plugin folders below the program's folder, as Qt looks for them there.
set(MIRANDEL_RUNTIME_PLUGINS
  platforms/qwindows.dll platforms/qoffscreen.dll platforms/qminimal.dll
  styles/qwindowsvistastyle.dll
  tls/qschannelbackend.dll tls/qcertonlybackend.dll
  imageformats/qico.dll imageformats/qgif.dll imageformats/qjpeg.dll)

set(copy_commands)
foreach(dll IN LISTS MIRANDEL_RUNTIME_DLLS)
  list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different "${dll}" "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/")
endforeach()
foreach(plugin IN LISTS MIRANDEL_RUNTIME_PLUGINS)
  get_filename_component(folder "${plugin}" DIRECTORY)
  list(APPEND copy_commands
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${MIRANDEL_WINDOWS_PREFIX}/plugins/${plugin}"
            "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder}/")
endforeach()
add_custom_target(mirandel_windows_runtime ALL ${copy_commands}
  COMMENT "Copying the Qt, OpenSSL and mingw runtime DLLs beside the executables")

# mirandel_windows_resources(TARGET DESCRIPTION): the program's icon, its
# version resource and its manifest (per-monitor DPI awareness, common
# controls 6), compiled into the executable.
function(mirandel_windows_resources target description)
  set(MIRANDEL_RC_DESCRIPTION "${description}")
  set(MIRANDEL_RC_FILENAME "${target}.exe")
  set(MIRANDEL_RC_ICON "${PROJECT_SOURCE_DIR}/resources/icons/app.ico")
  set(MIRANDEL_RC_MANIFEST "${PROJECT_SOURCE_DIR}/resources/windows/mirandel.manifest")
  configure_file("${PROJECT_SOURCE_DIR}/resources/windows/program.rc.in"
                 "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc" @ONLY)
  target_sources(${target} PRIVATE "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
endfunction()
