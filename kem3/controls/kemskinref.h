// The skin engine's classes as the controls refer to them: a control keeps a
// pointer to the skin and its form skinner, and nil means it paints plainly.
#pragma once

class TVosSkin;
class TVosFormSkinner;
