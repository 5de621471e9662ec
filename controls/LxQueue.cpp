// The three binding tables. They come into being empty when the library is loaded and are freed when it is
// unloaded; a record still held then (a control whose window outlived the library) is released with them.
#include "LxQueue.h"

#include "LxListBase.h"
#include "LxSpinCtrl.h"
#include "LxText.h"

namespace {

template <class Record> class BindingTable {
public:
    BindingTable() = default;
    BindingTable(const BindingTable&) = delete;
    BindingTable& operator=(const BindingTable&) = delete;
    ~BindingTable() {
        for (int i = 0; i < m_records.GetSize(); ++i) delete m_records.GetAt(i);
    }

    // Linear scans from the front: the tables hold one record per live control window of the family.
    template <class Object, class Window> Object* Find(HWND hWnd, Object* Record::*field, Window windowOf) const {
        for (int i = 0; i < m_records.GetSize(); ++i) {
            Object* object = m_records.GetAt(i)->*field;
            if (object && windowOf(object) == hWnd) return object;
        }
        return nullptr;
    }

    template <class Object, class Window> int Insert(Object* object, Object* Record::*field, Window windowOf) {
        if (Find(windowOf(object), field, windowOf)) return 0;
        const int size = m_records.GetSize();
        m_records.Add(new Record(object));
        return m_records.GetSize() == size + 1 ? 1 : 0;
    }

    template <class Object, class Window> int Remove(HWND hWnd, Object* Record::*field, Window windowOf) {
        for (int i = 0; i < m_records.GetSize(); ++i) {
            Record* record = m_records.GetAt(i);
            if (record->*field && windowOf(record->*field) == hWnd) {
                m_records.RemoveAt(i, 1);
                delete record;
                return 1;
            }
        }
        return 0;
    }

private:
    SwArray<Record*> m_records;
};

BindingTable<LxListQueue> g_listQueue;
BindingTable<LxSpinQueue> g_spinQueue;
BindingTable<LxTextQueue> g_textQueue;

} // namespace

HWND LxListQueue::WindowOf(LxListBase* pList) { return pList ? pList->m_hWnd : nullptr; }
LxListBase* LxListQueue::FindQueue(HWND hWnd) { return g_listQueue.Find(hWnd, &LxListQueue::m_pList, WindowOf); }
int LxListQueue::InsertQueue(LxListBase* pList) {
    return pList ? g_listQueue.Insert(pList, &LxListQueue::m_pList, WindowOf) : 0;
}
int LxListQueue::RemoveQueue(HWND hWnd) { return g_listQueue.Remove(hWnd, &LxListQueue::m_pList, WindowOf); }

HWND LxSpinQueue::WindowOf(LxSpinCtrl* pSpin) { return pSpin ? pSpin->m_hWnd : nullptr; }
LxSpinCtrl* LxSpinQueue::FindQueue(HWND hWnd) { return g_spinQueue.Find(hWnd, &LxSpinQueue::m_pSpin, WindowOf); }
int LxSpinQueue::InsertQueue(LxSpinCtrl* pSpin) {
    return pSpin ? g_spinQueue.Insert(pSpin, &LxSpinQueue::m_pSpin, WindowOf) : 0;
}
int LxSpinQueue::RemoveQueue(HWND hWnd) { return g_spinQueue.Remove(hWnd, &LxSpinQueue::m_pSpin, WindowOf); }

HWND LxTextQueue::WindowOf(LxText* pText) { return pText ? pText->m_hWnd : nullptr; }
LxText* LxTextQueue::FindQueue(HWND hWnd) { return g_textQueue.Find(hWnd, &LxTextQueue::m_pText, WindowOf); }
int LxTextQueue::InsertQueue(LxText* pText) {
    return pText ? g_textQueue.Insert(pText, &LxTextQueue::m_pText, WindowOf) : 0;
}
int LxTextQueue::RemoveQueue(HWND hWnd) { return g_textQueue.Remove(hWnd, &LxTextQueue::m_pText, WindowOf); }
