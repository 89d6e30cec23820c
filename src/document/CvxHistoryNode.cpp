#include "document/CvxHistoryNode.h"

#include <utility>

CvxHistoryNode::~CvxHistoryNode() {
    DestroyNewerChain();
    DestroyOlderChain();
}

// Chains may be long (one entry per edit), so they are taken apart in a loop rather than by
// letting each entry's destructor recurse into the next.
void CvxHistoryNode::DestroyOlderChain() {
    std::unique_ptr<CvxHistoryNode> doomed = std::move(m_ownOlder);
    if (!doomed) return;
    m_pOlder = nullptr;
    while (doomed) {
        std::unique_ptr<CvxHistoryNode> next = std::move(doomed->m_ownOlder);
        doomed->m_pNewer = nullptr;
        doomed->m_pOlder = nullptr;
        doomed.reset();
        doomed = std::move(next);
    }
}

void CvxHistoryNode::DestroyNewerChain() {
    std::unique_ptr<CvxHistoryNode> doomed = std::move(m_ownNewer);
    if (!doomed) return;
    m_pNewer = nullptr;
    while (doomed) {
        std::unique_ptr<CvxHistoryNode> next = std::move(doomed->m_ownNewer);
        doomed->m_pOlder = nullptr;
        doomed->m_pNewer = nullptr;
        doomed.reset();
        doomed = std::move(next);
    }
}

void CvxHistoryNode::LinkBelow(CvxHistoryNode& top, std::unique_ptr<CvxHistoryNode> below) {
    below->DestroyNewerChain();
    top.m_pOlder = below.get();
    below->m_pNewer = &top;
    top.m_ownOlder = std::move(below);
}

std::unique_ptr<CvxHistoryNode> CvxHistoryNode::MoveRoot(std::unique_ptr<CvxHistoryNode> root,
                                                         CvxHistoryNode& neighbour) {
    CvxHistoryNode& oldRoot = *root;
    if (&neighbour == oldRoot.m_pOlder) {
        std::unique_ptr<CvxHistoryNode> newRoot = std::move(oldRoot.m_ownOlder);
        newRoot->m_ownNewer = std::move(root);
        return newRoot;
    }
    std::unique_ptr<CvxHistoryNode> newRoot = std::move(oldRoot.m_ownNewer);
    newRoot->m_ownOlder = std::move(root);
    return newRoot;
}

void CvxHistoryNode::TakeOlderChain(CvxHistoryNode& to, CvxHistoryNode& from) {
    to.m_ownOlder = std::move(from.m_ownOlder);
    to.m_pOlder = std::exchange(from.m_pOlder, nullptr);
    if (to.m_pOlder) to.m_pOlder->m_pNewer = &to;
}
