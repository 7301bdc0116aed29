# cmake -DBUILD_DIR=... -DSOURCE_DIR=tests/install -DCXX=... -DGENERATOR=... -DFORMATS=ON|OFF
#       -DCONFIG=... -P check.cmake
# Installs the build into a fresh prefix, then builds tests/install/app against the installed
# package twice, with find_package and with pkg-config, runs each and checks what it prints.
set(work "${BUILD_DIR}/install-test")
set(prefix "${work}/prefix")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}/out")

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

# cmake_install.cmake rather than `cmake --install`, which CMake before 3.15 lacks.
run("install" "${CMAKE_COMMAND}" -DCMAKE_INSTALL_PREFIX=${prefix}
    -DCMAKE_INSTALL_CONFIG_NAME=${CONFIG} -P "${BUILD_DIR}/cmake_install.cmake")

set(expected "bmp 0 0 3 x 2 #112233\n")
if(FORMATS)
  string(APPEND expected "png 0 0 #112233 not a PNG file\n")
endif()

# With find_package.
run("configuring the outside program" "${CMAKE_COMMAND}" -S "${SOURCE_DIR}/app"
    -B "${work}/with-cmake" -G "${GENERATOR}" -DCMAKE_CXX_COMPILER=${CXX}
    -DCMAKE_PREFIX_PATH=${prefix} -DWITH_FORMATS=${FORMATS} -DCMAKE_BUILD_TYPE=Release)
run("building the outside program" "${CMAKE_COMMAND}" --build "${work}/with-cmake")
run("running the outside program" "${work}/with-cmake/app" "${work}/out")
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "find_package build printed\n${output}instead of\n${expected}")
endif()

# With pkg-config.
find_program(PKG_CONFIG NAMES pkg-config pkgconf)
if(NOT PKG_CONFIG)
  message(FATAL_ERROR "pkg-config is not installed (scripts/setup.sh installs it)")
endif()
file(GLOB_RECURSE pcfile "${prefix}/*/lamina.pc")
get_filename_component(pcdir "${pcfile}" DIRECTORY)
set(modules lamina)
set(defines)
if(FORMATS)
  set(modules lamina-formats)
  set(defines -DAPP_FORMATS=1)
endif()
run("pkg-config" "${CMAKE_COMMAND}" -E env PKG_CONFIG_PATH=${pcdir}
    "${PKG_CONFIG}" --cflags --libs ${modules})
separate_arguments(flags UNIX_COMMAND "${output}")
run("pkg-config" "${CMAKE_COMMAND}" -E env PKG_CONFIG_PATH=${pcdir}
    "${PKG_CONFIG}" --variable=libdir lamina)
string(STRIP "${output}" libdir)
run("building with pkg-config" "${CXX}" -std=c++17 ${defines} "${SOURCE_DIR}/app/main.cpp"
    ${flags} -Wl,-rpath,${libdir} -o "${work}/app-pc")
run("running the pkg-config build" "${work}/app-pc" "${work}/out")
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "pkg-config build printed\n${output}instead of\n${expected}")
endif()
message(STATUS "installed package used with find_package and pkg-config: ${expected}")
