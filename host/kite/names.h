// The core and Kite names the toolkit uses, declared in its namespace. Not
// a using-directive: the host also sees the COM IUnknown, and the core
// model's IUnknown must win inside the toolkit without clashing outside.
#pragma once

#include "contract/kite_interfaces.h"

namespace vexa::kite {

using Nerova::RT::Core::Bool;
using Nerova::RT::Core::CharPtr;
using Nerova::RT::Core::ConstCharPtr;
using Nerova::RT::Core::ErrCode;
using Nerova::RT::Core::IBaseObject;
using Nerova::RT::Core::IErrorInfo;
using Nerova::RT::Core::IntfID;
using Nerova::RT::Core::IString;
using Nerova::RT::Core::IUnknown;
using Nerova::RT::Core::SizeT;
using Nerova::RT::Core::isFailure;

using Nerova::RT::Core::errAlreadyExists;
using Nerova::RT::Core::errArgumentNull;
using Nerova::RT::Core::errGeneralError;
using Nerova::RT::Core::errInvalidOperation;
using Nerova::RT::Core::errInvalidParameter;
using Nerova::RT::Core::errInvalidState;
using Nerova::RT::Core::errNoInterface;
using Nerova::RT::Core::errNoMemory;
using Nerova::RT::Core::errNotFound;
using Nerova::RT::Core::errOk;
using Nerova::RT::Core::errOutOfRange;
using Nerova::RT::Core::errParseFailed;

using Nerova::Kite::Color;
using Nerova::Kite::ColumnKind;
using Nerova::Kite::Float;
using Nerova::Kite::IButton;
using Nerova::Kite::IComponent;
using Nerova::Kite::IContentControl;
using Nerova::Kite::IControl;
using Nerova::Kite::IControlFactory;
using Nerova::Kite::IDrawGridCellActionEventArgs;
using Nerova::Kite::IDrawGridCellInputArgs;
using Nerova::Kite::IDrawGridCellPropsArgs;
using Nerova::Kite::IDrawGridColumn;
using Nerova::Kite::IDrawGridEventArgs;
using Nerova::Kite::IDrawGridLiveValueArgs;
using Nerova::Kite::IEventArgs;
using Nerova::Kite::IEventHandler;
using Nerova::Kite::IFont;
using Nerova::Kite::ILabel;
using Nerova::Kite::INVDrawGrid;
using Nerova::Kite::Int;
using Nerova::Kite::IParentControl;
using Nerova::Kite::ISearchEdit;
using Nerova::Kite::ITabControl;
using Nerova::Kite::ITimer;
using Nerova::Kite::IWindow;
using Nerova::Kite::LiveValueKind;
using Nerova::Kite::markupNamespace;

}  // namespace vexa::kite
