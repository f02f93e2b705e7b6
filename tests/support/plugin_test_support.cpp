#include "support/plugin_test_support.h"

namespace plugin_test {

const PluginModule& loadedModule() {
    static const PluginModule module(PluginModule::besideProgram());
    return module;
}

}  // namespace plugin_test
