// make_samples FOLDER: writes the bundled sample files into FOLDER.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "sample_designs.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_samples FOLDER\n");
    return 2;
  }
  try {
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    for (const auto& sample : pelo::tools::MakeSamples()) {
      const std::filesystem::path path = folder / sample.name;
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(sample.bytes.data()),
                static_cast<std::streamsize>(sample.bytes.size()));
      if (!out.flush()) {
        std::fprintf(stderr, "make_samples: cannot write %s\n", path.string().c_str());
        return 1;
      }
      std::printf("%s\n", path.string().c_str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_samples: %s\n", e.what());
    return 1;
  }
  return 0;
}
