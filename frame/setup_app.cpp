#include "frame/setup_app.h"

namespace zel {

SetupApp::~SetupApp() = default;

bool SetupApp::InitInstance()
{
    return true;
}

} // namespace zel
