#pragma once
// The entry point every module exports: the host calls it with message 0 once the module is
// loaded (the module then registers its commands); other messages do nothing.
//
// The exported name is "_decEntryPoint@8". An ELF linker reads the '@' as a version
// separator, so the module is linked with the plug-in version script of the host
// (quenra3d_plugin in app/CMakeLists.txt), which declares the version "8", and the file that
// defines the entry point binds the name to that version with DEC_EXPORT_ENTRY_POINT: the
// symbol is "_decEntryPoint" of version "8", listed as "_decEntryPoint@@8". Define it as
//     DEC_EXPORT_ENTRY_POINT;
//     extern "C" void decEntryPoint(int msg, int param) { ... }
// (A plain symbol name with '@' in it would also break the assembler as soon as the compiler
// splits the function into hot and cold parts.)
extern "C" __attribute__((visibility("default"))) void decEntryPoint(int msg, int param);
#define DEC_EXPORT_ENTRY_POINT __asm__(".symver decEntryPoint,_decEntryPoint@@8")
