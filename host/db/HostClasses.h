#pragma once
// The host's own persistent classes (curves, text, point, proxy mesh, solid builders).
namespace host {

// Registers them once (later calls do nothing); drawing files need them.
void RegisterHostClasses();

}  // namespace host
