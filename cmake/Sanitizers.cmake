# AddressSanitizer and UndefinedBehaviorSanitizer for every target of the
# build (the "asan" preset turns this on). Any finding stops the program, so a
# test that trips a sanitizer fails instead of printing a warning nobody reads.
option(STONEREACH_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(STONEREACH_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -fno-optimize-sibling-calls)
  add_link_options(-fsanitize=address,undefined)
endif()
