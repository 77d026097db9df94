// The exports of the dialog library mscuistf.dll, in the form of the
// toolkit's tables (contract/exports.h): all of them looked up by name by the
// toolkit. Its .def file is made from this table, and its sources declare
// their exports from it, so that both must agree with it.

// The procedures of the answering dialogs: welcome, restart question and
// registration failure; fatal error and Windows directory; quit confirmation.
STF_BYNAME(INT_PTR, FInfoDlgProc, (HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam), (hdlg, message, wParam, lParam))
STF_BYNAME(INT_PTR, FInfo0DlgProc, (HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam), (hdlg, message, wParam, lParam))
STF_BYNAME(INT_PTR, FQuitDlgProc, (HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam), (hdlg, message, wParam, lParam))
// The billboard's, shown by the copy engine while it copies.
STF_BYNAME(INT_PTR, FModelessDlgProc, (HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam), (hdlg, message, wParam, lParam))
