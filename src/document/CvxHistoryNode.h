#pragma once
// One entry of a history stack: image states of a canvas object, or recorded blend settings.
// Entries form a doubly linked chain from the oldest to the newest. The entry in use (the
// live object, or an object's current blend state) is the root of ownership: it owns its
// older and its newer neighbour, and every other entry owns the neighbour further away from
// the root. So whoever owns the root owns the whole chain, and destroying the root destroys
// every state in both directions.

#include <memory>

class CvxHistoryNode {
public:
    CvxHistoryNode() = default;
    virtual ~CvxHistoryNode();
    CvxHistoryNode(const CvxHistoryNode&) = delete;
    CvxHistoryNode& operator=(const CvxHistoryNode&) = delete;

    CvxHistoryNode* Older() const { return m_pOlder; }
    CvxHistoryNode* Newer() const { return m_pNewer; }

    // Destroy every entry older (newer) than this one. Only a chain this entry owns goes:
    // called on an entry whose older side leads back to the root, it does nothing.
    void DestroyOlderChain();
    void DestroyNewerChain();

protected:
    // Puts `below` under `top`: below's newer chain is destroyed, then top.older = below,
    // below.newer = top, and top owns below. `top` must have no older entry.
    static void LinkBelow(CvxHistoryNode& top, std::unique_ptr<CvxHistoryNode> below);

    // Moves the root of a chain to a neighbour of the current root: afterwards `neighbour`
    // owns `root` and the caller owns `neighbour`, which is returned. The links are unchanged.
    static std::unique_ptr<CvxHistoryNode> MoveRoot(std::unique_ptr<CvxHistoryNode> root,
                                                    CvxHistoryNode& neighbour);

    // Moves the older chain of `from`, which must own it, under `to`, which must have none.
    static void TakeOlderChain(CvxHistoryNode& to, CvxHistoryNode& from);

    template <typename Derived>
    static std::unique_ptr<Derived> Downcast(std::unique_ptr<CvxHistoryNode> node) {
        return std::unique_ptr<Derived>(static_cast<Derived*>(node.release()));
    }

private:
    CvxHistoryNode* m_pOlder = nullptr;
    CvxHistoryNode* m_pNewer = nullptr;
    std::unique_ptr<CvxHistoryNode> m_ownOlder;  // set when this entry lies at or above the root
    std::unique_ptr<CvxHistoryNode> m_ownNewer;  // set when this entry lies at or below the root
};
