# Writes OUT, a C++ source holding each file of FILES (a list of NAME=PATH)
# as a byte array, for page_assets.cpp to serve: cmake -P with -DOUT=...
# -DFILES=...
set(arrays "")
set(entries "")
set(index 0)
foreach(pair IN LISTS FILES)
  string(FIND "${pair}" "=" at)
  string(SUBSTRING "${pair}" 0 ${at} name)
  math(EXPR from "${at} + 1")
  string(SUBSTRING "${pair}" ${from} -1 path)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # A trailing 0: an empty file still makes an array.
  string(APPEND arrays "const unsigned char file${index}[] = {${bytes}0};\n")
  string(APPEND entries "    {\"${name}\", file${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUT}.new"
"// Written at build time by host/live/embed_files.cmake.
#include \"host/live/page_assets.h\"

namespace vexa::live::embedded {

namespace {
${arrays}}  // namespace

const File files[] = {
${entries}};
const std::size_t fileCount = ${index};

}  // namespace vexa::live::embedded
")
# Only a changed source is compiled again.
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
