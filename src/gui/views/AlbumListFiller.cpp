#include "views/AlbumListFiller.h"

AlbumListFiller::AlbumListFiller(QObject* parent)
    : QObject(parent), m_control(std::make_shared<AlbumListFillControl>())
{
    qRegisterMetaType<AlbumListRequest>();
    qRegisterMetaType<std::shared_ptr<AlbumListRows>>();
    auto* worker = new AlbumListFillWorker(m_control);
    worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(this, &AlbumListFiller::requested, worker, &AlbumListFillWorker::fill);
    connect(worker, &AlbumListFillWorker::filled, this, &AlbumListFiller::receive);
    m_thread.start();
}

AlbumListFiller::~AlbumListFiller()
{
    m_control->setLatest(-1);
    m_control->interruptReading();
    m_thread.quit();
    m_thread.wait();
}

void AlbumListFiller::start(AlbumListRequest request)
{
    request.number = ++m_latest;
    m_control->setLatest(request.number);
    m_control->interruptReading();
    m_filling = true;
    emit requested(request);
}

void AlbumListFiller::cancel()
{
    m_control->setLatest(++m_latest);
    m_control->interruptReading();
    m_filling = false;
}

void AlbumListFiller::receive(const std::shared_ptr<AlbumListRows>& rows)
{
    if (rows->number != m_latest)
        return;
    m_filling = false;
    emit filled(rows);
}
