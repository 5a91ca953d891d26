# Included by the native-tsan preset right after project(): every native target is built under
# ThreadSanitizer. The test preset makes any report fatal.
add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -O1 -g)
add_link_options(-fsanitize=thread)
