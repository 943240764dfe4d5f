// Runs the fuzz target once over each file named on the command line, so
// that builds without libFuzzer still exercise the corpus.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    FILE* file = fopen(argv[i], "rb");
    if (!file) {
      fprintf(stderr, "cannot open %s\n", argv[i]);
      return 1;
    }
    std::vector<uint8_t> bytes;
    unsigned char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0) {
      bytes.insert(bytes.end(), chunk, chunk + n);
    }
    fclose(file);
    LLVMFuzzerTestOneInput(bytes.empty() ? NULL : &bytes[0], bytes.size());
  }
  printf("replayed %d inputs\n", argc - 1);
  return 0;
}
