#include "frame/setup_app.h"

#include "settings/product_identity.h"

namespace zel {

SetupApp::~SetupApp() = default;

bool SetupApp::InitInstance()
{
    // Determined here, under the registry names of the load, the name stays
    // the product's whatever names the script sets later.
    SetAppName(GetProductDisplayName());
    return true;
}

} // namespace zel
