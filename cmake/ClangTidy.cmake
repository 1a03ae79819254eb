# Opt-in: every compile of the project's code also runs clang-tidy's naming check (.clang-tidy,
# the conventions of docs/naming.md) on the file and on the project's headers it includes, and a
# finding fails the build. scripts/lint.sh runs the same check on the default build's files.
option(TOCKWELL_CLANG_TIDY "Check the names in the project's code with clang-tidy while compiling"
       OFF)
if(TOCKWELL_CLANG_TIDY)
    find_program(TOCKWELL_CLANG_TIDY_PROGRAM NAMES clang-tidy clang-tidy-14 REQUIRED)
    set(CMAKE_CXX_CLANG_TIDY ${PROJECT_SOURCE_DIR}/cmake/clang-tidy-own.sh ${PROJECT_BINARY_DIR}
        ${TOCKWELL_CLANG_TIDY_PROGRAM} --quiet
        "--header-filter=^${PROJECT_SOURCE_DIR}/(app|bench|core|engine|platform|settings|tests|tools|ui)/")
endif()
