#include "world/CloudBlob.h"

CloudBlob::~CloudBlob()
{
    freeCells();
}

void CloudBlob::update()
{
    // The cloud groups' behaviour is not built yet.
}

void CloudBlob::freeCells()
{
    while (cells) {
        CloudCellNode* next = cells->next;
        delete cells;
        cells = next;
    }
    cellCount = 0;
}
