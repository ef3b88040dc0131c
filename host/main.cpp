// qzhost: the reference host. Loads the controls module as the application
// does and shows what it registered or what its controls do.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "gallery.h"
#include "harness/module.h"
#include "run.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: qzhost registry\n"
               "       qzhost gallery [--png FILE]\n"
               "       qzhost run [--log FILE|-] [--png FILE]\n");
  return 2;
}

int ListRegistry() {
  qzh::Module module;
  if (!module.Load()) {
    std::fprintf(stderr, "cannot load the controls module: %s\n", module.Error().c_str());
    return 1;
  }
  for (const qzh::ClassInfo& info : qzh::ControlClasses())
    std::printf("%-20s %s 0x%08x %ld\n", info.Name.c_str(), qzh::IdText(info.Id).c_str(), info.Id,
                static_cast<long>(info.Type));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  if (command == "registry" && argc == 2) return ListRegistry();
  if (command == "gallery") {
    std::string png;
    for (int i = 2; i < argc; ++i) {
      if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc)
        png = argv[++i];
      else
        return Usage();
    }
    return qzh::RunGallery(std::cout, png);
  }
  if (command == "run") {
    qzh::RunOptions options;
    for (int i = 2; i < argc; ++i) {
      if (std::strcmp(argv[i], "--log") == 0 && i + 1 < argc)
        options.LogPath = argv[++i];
      else if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc)
        options.PngPath = argv[++i];
      else
        return Usage();
    }
    return qzh::RunInteractive(options);
  }
  return Usage();
}
