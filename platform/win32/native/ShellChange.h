// Tells Explorer that file associations changed, so that it shows the new icons and verbs at once.
#pragma once

namespace native {

void NotifyAssociationsChanged();

}  // namespace native
