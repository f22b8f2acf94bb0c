// The out-of-line destructor anchors TObject's virtual table in this unit.
#include "platform/object.h"

TObject::~TObject() = default;
