// What an interrupted link operation leaves below the attachment root, put right at the next
// start: the store's rows decide whether a folder change is finished or dropped.
#pragma once

#include "store/StoreContext.h"

namespace velmora {

// A pending folder whose rows committed takes its folder's place; every other pending folder,
// and every folder that no Attachments row names, goes. Failures are logged, never raised: the
// add-in starts all the same, and the next start tries again.
void tidyAttachmentFolders(StoreContext& state) noexcept;

} // namespace velmora
