#include "ui/decks/designer_link.h"

namespace dv::ui {
namespace {

DesignerLink* installed = nullptr;

}  // namespace

DesignerLink* TheDesignerLink() {
    return installed;
}

void SetDesignerLink(DesignerLink* link) {
    installed = link;
}

}  // namespace dv::ui
