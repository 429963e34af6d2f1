// The root of everything kept in a CLinkList; lists destroy their items
// through the virtual destructor.
#pragma once

class CListItem {
public:
    virtual ~CListItem() = default;
    // Non-zero for items that counting walks of a list pass over.
    virtual int IsSkipped() const { return 0; }
};
