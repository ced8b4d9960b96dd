// The module's application object.
#pragma once

#include "frame/module_app.h"

namespace zel {

class SetupApp : public ModuleApp {
public:
    ~SetupApp() override;
    bool InitInstance() override;
};

} // namespace zel
