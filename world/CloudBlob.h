#pragma once
// CloudBlob: one cloud group of the Cloud element, listed in the world's cloud
// list. NOT BUILT YET beyond what the world's list needs: its cell list and
// freeing. Its step (update) does nothing until the clouds are built.
struct CloudCellNode {
    CloudCellNode* next = nullptr;
};

class CloudBlob {
public:
    CloudBlob() = default;
    virtual ~CloudBlob();
    CloudBlob(const CloudBlob&) = delete;
    CloudBlob& operator=(const CloudBlob&) = delete;

    // One step of the group.
    virtual void update();
    // Frees the cell list node by node and clears the list fields.
    void freeCells();

    CloudCellNode* cells = nullptr;  // singly linked, owned
    int cellCount = 0;
};
