// The registry file code compiled into Tidewell, which links only the window library: the
// companion reads and writes the very file the add-in uses.
#include "platform/registry/FileRegistry.cpp"
#include "platform/registry/RegistryDocument.cpp"
