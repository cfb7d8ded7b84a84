#pragma once
// The entry point every module exports: the host calls it with message 0 once the module is
// loaded (the module then registers its commands); other messages do nothing.
//
// The exported name is "_decEntryPoint@8". An ELF linker reads the '@' as a version
// separator, so the module is linked with the plug-in version script of the host
// (quenra3d_plugin in app/CMakeLists.txt), which declares the version "8": the symbol is
// "_decEntryPoint" of version "8", listed as "_decEntryPoint@8". Define it in the module as
//     extern "C" void decEntryPoint(int msg, int param) { ... }
extern "C" __attribute__((visibility("default"))) void decEntryPoint(int msg, int param) __asm__("\"_decEntryPoint@8\"");
