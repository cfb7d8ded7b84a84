#pragma once
// Notifications of a drawing database. The host calls OnDocumentOpened after a drawing has
// been read (and the new drawing has become the working one), OnNewDocument after the working
// drawing has been emptied, OnObjectAppended when an entity is stored (complete, with its
// extended data), and OnObjectModified when the last write open of a changed object closes
// (a field, its extended data, an erase; a builder changed through its entity tells as the
// entity); the others stay silent in this host.
class DbDatabase;
class decObject;

class DbDatabaseReactor {
public:
    virtual void OnTexTableChanged(DbDatabase*) {}
    virtual void OnLayerTableChanged(DbDatabase*) {}
    virtual void OnNewDocument(DbDatabase*) {}
    virtual void OnDocumentBeginOpen(DbDatabase*) {}
    virtual void OnDocumentOpened(DbDatabase*) {}
    virtual void OnDocumentSaved(DbDatabase*) {}
    virtual void OnEntsErased(DbDatabase*) {}
    virtual void OnEntsModified(DbDatabase*) {}
    virtual void OnObjsModified(DbDatabase*) {}
    virtual void OnEntsAppended(DbDatabase*) {}
    virtual void OnSelectSetChanged(DbDatabase*) {}
    virtual void OnObjectModified(DbDatabase*, decObject*) {}
    virtual void OnObjectErased(DbDatabase*, decObject*) {}
    virtual void OnObjectAppended(DbDatabase*, decObject*) {}
    virtual void OnDspBufRegen(DbDatabase*) {}
    virtual ~DbDatabaseReactor() = default;
};
