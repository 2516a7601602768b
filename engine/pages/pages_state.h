#pragma once

namespace dv {

struct PagesState {};

}  // namespace dv
