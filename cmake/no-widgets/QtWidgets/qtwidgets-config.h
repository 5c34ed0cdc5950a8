// Every Qt Widgets header includes this one first. Libraries that must run
// without widgets find this copy ahead of Qt's own.
#error "This library runs without widgets: it must not include Qt Widgets headers."
