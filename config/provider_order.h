// The product's network provider in the system's network provider order,
// HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\NetworkProvider\Order,
// value "ProviderOrder". The key is opened, never created; when it cannot be
// opened, or the value cannot be read whole, the list is left as it is.
#pragma once

namespace zel {

// Puts "QDVNET" first in the list; 1 whatever happens.
int AddProviderFirst();

// Cuts "QDVNET" out of the list; 1 whatever happens.
int RemoveProvider();

} // namespace zel
