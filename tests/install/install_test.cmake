# Script mode: installs the build tree into WORK/prefix, then builds the
# consumer program against it twice (through the CMake package and through
# pkg-config) and runs both off-screen.
# Variables: BUILD (the build tree), CONSUMER (its sources), WORK, CXX.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
foreach(f include/brevant/bv/tabulon.h include/brevant/rtl/format.h bin/formconv)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

# 1. find_package(Brevant) from a CMake project.
run(${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/cmake-build -G Ninja
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK}/cmake-build)
run(${WORK}/cmake-build/consumer)
message(STATUS "CMake package: ${run_output}")

# 2. pkg-config with a plain compiler call.
file(GLOB pcdir LIST_DIRECTORIES true ${prefix}/lib*/pkgconfig ${prefix}/lib/*/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "${pcdir}")
run(pkg-config --cflags --libs brevant)
string(STRIP "${run_output}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${CXX} -std=c++20 -O1 ${CONSUMER}/main.cpp -o ${WORK}/consumer-pc ${flags})
run(${WORK}/consumer-pc)
message(STATUS "pkg-config: ${run_output}")
