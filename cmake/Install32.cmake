# The 32-bit Install.exe, built beside a 64-bit tree with the i686 toolchain
# in a build folder of its own: the 64-bit suite starts it on its 64-bit
# Windows, where it must refuse to install. TOKAVI_INSTALL32_EXE names it; in
# a 32-bit tree it is the tree's own Install.exe.
function(tokavi_install32 DEPENDENT)
  set(exe ${TOKAVI_DIST_DIR}/Install.exe)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    include(ExternalProject)
    ExternalProject_Add(install32 SOURCE_DIR ${PROJECT_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/install32
      CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake
                 -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF
      BUILD_COMMAND ${CMAKE_COMMAND} --build . --target Install
      INSTALL_COMMAND "" BUILD_ALWAYS ON)
    add_dependencies(${DEPENDENT} install32)
    set(exe ${CMAKE_BINARY_DIR}/install32/dist/Install.exe)
  endif()
  target_compile_definitions(${DEPENDENT} PRIVATE TOKAVI_INSTALL32_EXE="${exe}")
endfunction()
