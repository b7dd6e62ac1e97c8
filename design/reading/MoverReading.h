// While a copy reads a table it has just made in its destination (a
// table's ReadMover): no wait message, no module state, no forms and no
// links to choice lists; its subtables are read the same way.
#pragma once

class TFileObjQz;
class TObjQz;

class MoverReading {
public:
    MoverReading();
    ~MoverReading();
    MoverReading(const MoverReading&) = delete;
    MoverReading& operator=(const MoverReading&) = delete;
    static bool Active();

private:
    bool saved_;
};

// The help balloon of field `k` of `table` when its resource ('F' 'i' and
// the table's id, id k) exists: made, linked from the field and read. 0 or
// -108.
int16_t ReadFieldBalloon(TFileObjQz* table, TObjQz* field, int16_t k);
// The table method object of a table whose definition names one: made,
// read and linked from the table. 0 or its error.
int16_t MakeTableMethod(TFileObjQz* table);
