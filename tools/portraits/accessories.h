#pragma once

class QPainter;

namespace kvt::portraits {

struct PortraitDescription;

// Each function paints the accessories of its layer that the character wears;
// the portrait painter calls them in order from back to front.
void PaintBodyAccessories(QPainter& p, const PortraitDescription& d);  // scarf, bowtie, headphones
void PaintEarAccessories(QPainter& p, const PortraitDescription& d);   // earrings
void PaintFreckles(QPainter& p, const PortraitDescription& d);
void PaintBeard(QPainter& p, const PortraitDescription& d);            // before the mouth
void PaintMoustache(QPainter& p, const PortraitDescription& d);        // after the mouth
void PaintGlasses(QPainter& p, const PortraitDescription& d);
void PaintHeadwear(QPainter& p, const PortraitDescription& d);         // headband, hairclip, beanie

}  // namespace kvt::portraits
