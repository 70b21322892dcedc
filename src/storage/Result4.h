#pragma once
// Result and error codes of the table engine. Non-negative values are results, negative values
// are errors (their texts are in Error4.cpp).

namespace orv {

constexpr int res4success = 0;
constexpr int res4after = 2;
constexpr int res4eof = 3;
constexpr int res4bof = 4;
constexpr int res4noRecord = 5;
constexpr int res4candidate = 15;
constexpr int res4unique = 20;
constexpr int res4uniqueContinue = 25;
constexpr int res4locked = 50;
constexpr int res4noCreate = 60;
constexpr int res4noTag = 80;
constexpr int res4pending = -1; // an earlier error of the context is still pending

constexpr int r4descending = 10;

constexpr int e4close = -10;
constexpr int e4create = -20;
constexpr int e4len = -30;
constexpr int e4lenSet = -40;
constexpr int e4lock = -50;
constexpr int e4open = -60;
constexpr int e4permiss = -61;
constexpr int e4access = -62;
constexpr int e4numFiles = -63;
constexpr int e4fileFind = -64;
constexpr int e4instance = -69;
constexpr int e4read = -70;
constexpr int e4remove = -80;
constexpr int e4rename = -90;
constexpr int e4seek = -250;
constexpr int e4unlock = -110;
constexpr int e4write = -120;
constexpr int e4data = -200;
constexpr int e4fieldName = -210;
constexpr int e4fieldType = -220;
constexpr int e4recordLen = -230;
constexpr int e4append = -240;
constexpr int e4entry = -300;
constexpr int e4index = -310;
constexpr int e4tagName = -330;
constexpr int e4unique = -340;
constexpr int e4tagInfo = -350;
constexpr int e4candidate = -360;
constexpr int e4commaExpected = -400;
constexpr int e4complete = -410;
constexpr int e4dataName = -420;
constexpr int e4lengthErr = -422;
constexpr int e4notConstant = -425;
constexpr int e4numParms = -430;
constexpr int e4overflow = -440;
constexpr int e4rightMissing = -450;
constexpr int e4typeSub = -460;
constexpr int e4unrecFunction = -470;
constexpr int e4unrecOperator = -480;
constexpr int e4unrecValue = -490;
constexpr int e4unterminated = -500;
constexpr int e4tagExpr = -510;
constexpr int e4optFlush = -630;
constexpr int e4info = -910;
constexpr int e4memory = -920;
constexpr int e4parm = -930;
constexpr int e4parmNull = -935;
constexpr int e4result = -950;
constexpr int e4verify = -960;
constexpr int e4struct = -970;

} // namespace orv
