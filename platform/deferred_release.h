// Freeing a component after the handler that asked for it has returned: a
// control that ends itself from inside its own event (a form's Release, a
// button that closes its dialog) is queued here and freed by the message loop
// once no handler of ours is running any more.
#pragma once
#include <functional>

#include "platform/component.h"

// Queues Component (once; nil is ignored). One that is freed otherwise in the
// meantime leaves the queue by itself.
void ReleaseComponent(TComponent* Component);

// Frees what was queued before the call, in queue order, and returns how many.
// What the freeing queues waits for the next call.
int ProcessDeferredReleases();
bool HasDeferredReleases();

// Called after something was queued, so that a waiting message loop wakes up.
void SetDeferredReleaseWake(std::function<void()> Wake);
