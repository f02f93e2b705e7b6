// How the plug-in names itself to the host.
#pragma once

// The plug-in's registered name.
inline constexpr char registeredPluginName[] = "Vexa";
