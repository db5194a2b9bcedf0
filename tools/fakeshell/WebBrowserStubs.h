// Inside a class deriving from IWebBrowser2: every method the program never
// calls answers E_NOTIMPL (IDispatch's four included). Refresh and
// get_LocationName are left to the class.
#define S(name, args) STDMETHODIMP name args override { return E_NOTIMPL; }
S(GetTypeInfoCount, (UINT*)) S(GetTypeInfo, (UINT, LCID, ITypeInfo**))
S(GetIDsOfNames, (REFIID, LPOLESTR*, UINT, LCID, DISPID*))
S(Invoke, (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))
S(GoBack, ()) S(GoForward, ()) S(GoHome, ()) S(GoSearch, ())
S(Navigate, (BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*)) S(Refresh2, (VARIANT*)) S(Stop, ())
S(get_Application, (IDispatch**)) S(get_Parent, (IDispatch**)) S(get_Container, (IDispatch**))
S(get_Document, (IDispatch**)) S(get_TopLevelContainer, (VARIANT_BOOL*)) S(get_Type, (BSTR*))
S(get_Left, (LONG*)) S(put_Left, (LONG)) S(get_Top, (LONG*)) S(put_Top, (LONG)) S(get_Width, (LONG*))
S(put_Width, (LONG)) S(get_Height, (LONG*)) S(put_Height, (LONG)) S(get_LocationURL, (BSTR*))
S(get_Busy, (VARIANT_BOOL*)) S(Quit, ()) S(ClientToWindow, (int*, int*)) S(PutProperty, (BSTR, VARIANT))
S(GetProperty, (BSTR, VARIANT*)) S(get_Name, (BSTR*)) S(get_HWND, (SHANDLE_PTR*)) S(get_FullName, (BSTR*))
S(get_Path, (BSTR*)) S(get_Visible, (VARIANT_BOOL*)) S(put_Visible, (VARIANT_BOOL))
S(get_StatusBar, (VARIANT_BOOL*)) S(put_StatusBar, (VARIANT_BOOL)) S(get_StatusText, (BSTR*))
S(put_StatusText, (BSTR)) S(get_ToolBar, (int*)) S(put_ToolBar, (int)) S(get_MenuBar, (VARIANT_BOOL*))
S(put_MenuBar, (VARIANT_BOOL)) S(get_FullScreen, (VARIANT_BOOL*)) S(put_FullScreen, (VARIANT_BOOL))
S(Navigate2, (VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*)) S(QueryStatusWB, (OLECMDID, OLECMDF*))
S(ExecWB, (OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)) S(ShowBrowserBar, (VARIANT*, VARIANT*, VARIANT*))
S(get_ReadyState, (READYSTATE*)) S(get_Offline, (VARIANT_BOOL*)) S(put_Offline, (VARIANT_BOOL))
S(get_Silent, (VARIANT_BOOL*)) S(put_Silent, (VARIANT_BOOL)) S(get_RegisterAsBrowser, (VARIANT_BOOL*))
S(put_RegisterAsBrowser, (VARIANT_BOOL)) S(get_RegisterAsDropTarget, (VARIANT_BOOL*))
S(put_RegisterAsDropTarget, (VARIANT_BOOL)) S(get_TheaterMode, (VARIANT_BOOL*))
S(put_TheaterMode, (VARIANT_BOOL)) S(get_AddressBar, (VARIANT_BOOL*)) S(put_AddressBar, (VARIANT_BOOL))
S(get_Resizable, (VARIANT_BOOL*)) S(put_Resizable, (VARIANT_BOOL))
#undef S
