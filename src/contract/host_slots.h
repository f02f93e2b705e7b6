// Placeholders for the host methods the plug-in never calls. The host
// dispatches by position, so every slot before the last one we call must be
// declared for the methods after it to land on their numbers.
#pragma once

#include <boost/preprocessor/cat.hpp>
#include <boost/preprocessor/arithmetic/inc.hpp>
#include <boost/preprocessor/repetition/repeat_from_to.hpp>

#include "platform/com.h"

// Declares slots `first` to `last` (inclusive) as <Interface>Method<N>. They
// answer E_NOTIMPL, so that objects of ours behind these interfaces need not
// spell out methods nobody calls.
#define VEXA_UNUSED_SLOTS(Interface, first, last) \
    BOOST_PP_REPEAT_FROM_TO(first, BOOST_PP_INC(last), VEXA_UNUSED_SLOT_, Interface)

#define VEXA_UNUSED_SLOT_(z, n, Interface) \
    virtual HRESULT STDMETHODCALLTYPE BOOST_PP_CAT(BOOST_PP_CAT(Interface, Method), n)() { return E_NOTIMPL; }
